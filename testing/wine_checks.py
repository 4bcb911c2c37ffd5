"""What the Python drivers of the Windows end-to-end tests share: a check
that counts each failure and goes on, the paths a Windows program reads,
the key=value reports of the test programs, "reg query" listings, a
photo-like test picture, jpeginfo as the judge of JPEG files, and waits
that look again until a condition holds, the screen's picture among them."""
import hashlib
import math
import re
import subprocess
import time

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message)


def finish():
    """The exit code of the driver, after the count of failures."""
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


def wait_until(condition, seconds=60, every=0.1):
    """Asks condition until it gives a true value, which is returned; None
    once the deadline has passed."""
    deadline = time.time() + seconds
    while True:
        value = condition()
        if value or time.time() >= deadline:
            return value or None
        time.sleep(every)


def screen_picture():
    """The X screen's picture, as a checksum (ImageMagick's import)."""
    shot = subprocess.run(["import", "-window", "root", "rgb:-"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return hashlib.md5(shot.stdout).hexdigest()


def wait_redrawn(before, seconds=20):
    """Waits until the screen differs from the picture before, then holds
    still (the same picture twice in a row): what the input made the
    programs draw is all drawn. False at the deadline."""
    if not wait_until(lambda: screen_picture() != before, seconds):
        return False
    pictures = [screen_picture()]

    def still():
        pictures.append(screen_picture())
        return pictures[-1] == pictures[-2]
    return bool(wait_until(still, seconds, every=0))


def windows_path(path, folder=False):
    """A Unix path as Wine's drive Z: names it."""
    return "Z:" + path.replace("/", "\\") + ("\\" if folder else "")


def parse_report(text):
    """name=value lines as a dictionary (the last value of a name wins)."""
    report = {}
    for line in text.splitlines():
        name, _, value = line.partition("=")
        report[name.strip()] = value.rstrip("\r\n")
    return report


def reg_listing(text):
    """The values of a "reg query" listing: name -> (type, data)."""
    values = {}
    for line in text.splitlines():
        m = re.match(r"\s+(.+?)\s+(REG_\w+)\s*(.*)$", line.rstrip("\r"))
        if m:
            values[m.group(1)] = (m.group(2), m.group(3).strip())
    return values


def write_image(path, width, height, grey=False, seed=1):
    """A photo-like picture as PGM or PPM: gradients, hard edges and some
    noise."""
    channels = 1 if grey else 3
    state = seed * 2654435761 % 2**32
    data = bytearray()
    for y in range(height):
        for x in range(width):
            for c in range(channels):
                state = (state * 1103515245 + 12345) % 2**32
                v = 128 + 70 * math.sin(x / 9.0 + c) * math.cos(y / 13.0 - c) + ((state >> 16) % 17 - 8)
                if (x // 16 + y // 12 + c) % 5 == 0:
                    v = 255 - v
                data.append(max(0, min(255, int(v))))
    with open(path, "wb") as f:
        f.write(b"P%d %d %d 255\n" % (5 if grey else 6, width, height) + bytes(data))


def jpeginfo_ok(path):
    result = subprocess.run(["jpeginfo", "-c", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return result.returncode == 0 and result.stdout.decode().rstrip().endswith("OK")
