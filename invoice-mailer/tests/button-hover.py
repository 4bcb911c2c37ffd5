#!/usr/bin/python3
"""The flat button's AutoGray under Wine with the real pointer: the glyph is
grey while the pointer is away; xdotool moves the pointer onto the button
and the glyph is drawn in colour. The colours are read from the screen.

Usage: button-hover.py <wine-exec.sh> <bits> <prefix> <button-hover.exe>
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "testing"))
from wine_checks import check, finish  # noqa: E402

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
    # Red (255, 0, 0) in grey: 11 * 255 / 100 = 28 on every channel.
    check(away == (28, 28, 28), "grey glyph while away expected (28, 28, 28), got %s" % (away,))
    check(over == (255, 0, 0), "red glyph under the pointer expected, got %s" % (over,))
    check(code == 0 and said.get("entered") == "yes", "the button saw the pointer enter")
    return finish()


if __name__ == "__main__":
    sys.exit(main())
