#!/usr/bin/python3
"""The encoder's output bytes on the benchmark's photographs, pinned.

Encodes the colour test pictures of python3-skimage (astronaut, coffee,
chelsea) with pixtune-encode at the benchmark's levels, baseline and
progressive, with sharpening 0 and 100, and compares the digests with the
stored list (jpeg/tests/data/photo-digests.txt), which was made with the
encoder before its speed work: for each picture and level the SHA-256 of the
four files' SHA-256 digests, one after the other (baseline, then
progressive, each with sharpening 0, then 100).

usage: photo-digests.py <pixtune-encode> <scratch dir> [--write]
Exits 77 (skipped) when the pictures or PIL are missing.
"""
import hashlib
import os
import subprocess
import sys

LEVELS = [4, 8, 16, 32, 64, 128, 192]
PICTURES = ("astronaut", "coffee", "chelsea")
SKIMAGE_DATA = "/usr/lib/python3/dist-packages/skimage/data"
STORED = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data", "photo-digests.txt")


def main():
    encoder, scratch = sys.argv[1], sys.argv[2]
    write = "--write" in sys.argv[3:]
    try:
        from PIL import Image
    except ImportError:
        print("photo-digests: PIL is missing (python3-pil)")
        return 77
    os.makedirs(scratch, exist_ok=True)
    lines = []
    for name in PICTURES:
        png = os.path.join(SKIMAGE_DATA, name + ".png")
        if not os.path.exists(png):
            print("photo-digests: %s is missing (python3-skimage)" % png)
            return 77
        ppm = os.path.join(scratch, name + ".ppm")
        Image.open(png).convert("RGB").save(ppm)
        out = os.path.join(scratch, name + ".jpg")
        for level in LEVELS:
            digests = ""
            for mode in ("base", "prog"):
                for sharpen in (0, 100):
                    command = [encoder, "-l", str(level), "-s", str(sharpen)]
                    if mode == "prog":
                        command.append("-p")
                    subprocess.run(command + [ppm, out], check=True)
                    with open(out, "rb") as f:
                        digests += hashlib.sha256(f.read()).hexdigest()
            lines.append("%s %d %s" % (name, level, hashlib.sha256(digests.encode()).hexdigest()))
    if write:
        with open(STORED, "w") as f:
            f.write("\n".join(lines) + "\n")
        print("photo-digests: wrote %d digests" % len(lines))
        return 0
    with open(STORED) as f:
        stored = [line.strip() for line in f if line.strip()]
    if len(stored) != len(lines):
        print("photo-digests: %d stored digests, %d cases" % (len(stored), len(lines)))
        return 1
    changed = [now for now, then in zip(lines, stored) if now != then]
    for line in changed:
        print("changed: " + line)
    print("photo-digests: %d of %d picture levels unchanged" % (len(lines) - len(changed), len(lines)))
    return 1 if changed else 0


if __name__ == "__main__":
    sys.exit(main())
