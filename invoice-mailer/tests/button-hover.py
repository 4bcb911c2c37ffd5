#!/usr/bin/python3
"""The flat button's AutoGray under Wine with the real pointer: the glyph is
grey while the pointer is away; xdotool moves the pointer onto the button
and the glyph is drawn in colour. The colours are read from the screen.

Usage: button-hover.py <wine-exec.sh> <bits> <prefix> <button-hover.exe>
"""
import subprocess
import sys
import time


def main():
    wine_exec, bits, prefix, program = sys.argv[1:5]
    subprocess.run(["xdotool", "mousemove", "900", "700"], check=True)
    process = subprocess.Popen([wine_exec, bits, prefix, program], stdout=subprocess.PIPE, text=True)
    said = {}
    for line in process.stdout:
        key, _, value = line.strip().partition(" ")
        said[key] = value
        print(line.strip())
        if key == "centre":
            x, y = value.split()
        if key == "away":
            time.sleep(0.2)
            subprocess.run(["xdotool", "mousemove", x, y], check=True)
    code = process.wait(timeout=60)
    away = tuple(map(int, said["away"].split()))
    over = tuple(map(int, said["over"].split()))
    failures = []
    # Red (255, 0, 0) in grey: 11 * 255 / 100 = 28 on every channel.
    if away != (28, 28, 28):
        failures.append("grey glyph while away expected (28, 28, 28), got %s" % (away,))
    if over != (255, 0, 0):
        failures.append("red glyph under the pointer expected, got %s" % (over,))
    if code != 0 or said.get("entered") != "yes":
        failures.append("the button never saw the pointer enter")
    for failure in failures:
        print("FAIL " + failure)
    print("1 passed, 0 failed" if not failures else "0 passed, 1 failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
