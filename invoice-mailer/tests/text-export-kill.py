#!/usr/bin/python3
"""The invoice text export, killed and starved of disk space.

export-text (the export of Billpost's File > Export, as a command) writes
over a file that holds an earlier export:
  - killed with SIGKILL at random points of the write, 60 times: the file
    holds the old text or the whole new one, never a part; what a kill
    leaves beside it is at most the export's own new file, which the next
    export writes over and moves into place, so that none is left after it;
  - on a tmpfs of 256 KB that the new text does not fit on: the export
    reports an error, the old file is byte-identical and no new file is
    left; a text that fits replaces it.
Mounting the tmpfs needs root: exit 77 otherwise.

Usage: text-export-kill.py <export-text> <work folder>
"""
import os
import random
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "testing"))
from script_checks import Failure, check  # noqa: E402


def export(tool, target, size, fill):
    return subprocess.run([tool, target, str(size), fill], stdout=subprocess.PIPE, text=True)


def reference(tool, folder, size, fill):
    """The text the tool writes, from a run that is left alone."""
    path = os.path.join(folder, "reference-%s-%d.txt" % (fill, size))
    check(export(tool, path, size, fill).returncode == 0, "the export of %d bytes of %s goes through" % (size, fill))
    with open(path, "rb") as f:
        data = f.read()
    os.remove(path)
    check(len(data) == size, "the reference is %d bytes long" % size)
    return data


def killed(tool, folder):
    target = os.path.join(folder, "invoice.txt")
    texts = [reference(tool, folder, 24 << 20, fill) for fill in "ab"]
    start = time.monotonic()
    export(tool, target, len(texts[0]), "a")
    duration = time.monotonic() - start
    rng = random.Random(45)
    seen = {0: 0, 1: 0}
    current = 0
    for round_number in range(60):
        following = 1 - current
        process = subprocess.Popen([tool, target, str(len(texts[following])), "ab"[following]],
                                   stdout=subprocess.DEVNULL)
        # A random point of the run, some of them after its end.
        time.sleep(rng.uniform(0, duration * 1.2))
        process.send_signal(signal.SIGKILL)
        process.wait()
        with open(target, "rb") as f:
            now = f.read()
        if now not in texts:
            raise Failure("round %d: the file is a fragment of %d bytes" % (round_number, len(now)))
        current = texts.index(now)
        seen[current] += 1
        left = sorted(set(os.listdir(folder)) - {"invoice.txt"})
        if left not in ([], ["invoice.txt.new"]):
            raise Failure("round %d: files left beside the export: %s" % (round_number, left))
    print("ok   60 kills: the file held a whole text every time (old %d, new %d times)" % (seen[0], seen[1]))
    check(export(tool, target, len(texts[0]), "a").returncode == 0, "an export after the kills goes through")
    with open(target, "rb") as f:
        check(f.read() == texts[0], "and writes its whole text")
    check(os.listdir(folder) == ["invoice.txt"], "leaving no other file behind")


def full_disk(tool, folder):
    mount = os.path.join(folder, "small")
    os.makedirs(mount, exist_ok=True)
    subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", mount], check=True)
    try:
        target = os.path.join(mount, "invoice.txt")
        check(export(tool, target, 100 * 1024, "a").returncode == 0, "an export of 100 KB onto the small disk")
        with open(target, "rb") as f:
            old = f.read()
        for size in (200 * 1024, 1 << 20):
            run = export(tool, target, size, "b")
            check(run.returncode == 1 and run.stdout.startswith("error Cannot write file"),
                  "an export of %d KB that does not fit reports it: %s" % (size >> 10, run.stdout.strip()))
            with open(target, "rb") as f:
                check(f.read() == old, "the old file is byte-identical")
            check(os.listdir(mount) == ["invoice.txt"], "and no new file is left")
        check(export(tool, target, 120 * 1024, "c").returncode == 0, "a text that fits beside the old one replaces it")
        with open(target, "rb") as f:
            check(f.read() == reference(tool, folder, 120 * 1024, "c"), "whole")
    finally:
        subprocess.run(["umount", mount], check=True)


def main():
    tool, work = sys.argv[1], sys.argv[2]
    if os.geteuid() != 0:
        print("SKIP mounting the small tmpfs needs root")
        return 77
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "kills"))
    try:
        killed(tool, os.path.join(work, "kills"))
        full_disk(tool, work)
    except Failure as failure:
        print("FAIL " + str(failure))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    print("text export: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
