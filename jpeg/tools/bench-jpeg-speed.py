#!/usr/bin/python3
"""Speed of the encoder beside libjpeg on the same work, both timed alike.

The work: the colour test pictures of Debian's python3-skimage (astronaut,
coffee, chelsea) at seven levels in three modes (baseline, progressive,
baseline with sharpen 100): 63 encodes; and coffee scaled to 16 megapixels
(4896x3264) at level 32, baseline and progressive: 2 encodes. The peer encodes with our
quantisation tables, 2x2 chroma, optimised Huffman tables and (progressive)
our scan script, with SIMD and in plain code (JSIMD_FORCENONE=1).

Rows:
- in process: the least thread CPU time of one encode from memory into
  memory over REPEATS encodes in one process (pixtune-encode -r against
  libjpeg-encode, which drives the system libjpeg as cjpeg does and must
  write cjpeg's file), summed over the 63 encodes;
- whole runs: user + system CPU time of one whole command-line run
  (reading the PPM, encoding, writing the JPEG; pixtune-encode with the
  shipped library's allocation against cjpeg), summed over the encodes,
  with the JPEG written into a pipe that this script drains (the
  summary's row) and into a file, the same for both sides.

Every round runs each encode for ours and the peers back to back (the
order alternating between rounds), so both sides see the same machine
load; each row gives the median over the rounds with the spread
[min..max], and the median [min..max] of the rounds' paired ratios, in
the benchmarks' shared row format (scripts/bench_row.py).

usage: bench-jpeg-speed.py <build dir> <work dir>
environment: BENCH_ROUNDS (default 5), BENCH_REPEATS (default 20)
"""
import os
import subprocess
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import bench_row  # noqa: E402  (the benchmarks' shared row format)

LEVELS = [4, 8, 16, 32, 64, 128, 192]
MODES = (("base", False, 0), ("prog", True, 0), ("s100", False, 100))
PICTURES = ("astronaut", "coffee", "chelsea")
SKIMAGE_DATA = "/usr/lib/python3/dist-packages/skimage/data"
ROUNDS = int(os.environ.get("BENCH_ROUNDS", "5"))
REPEATS = int(os.environ.get("BENCH_REPEATS", "20"))


def run(command, env=None):
    return subprocess.run(command, check=True, env=env, stdout=subprocess.PIPE, text=True).stdout


def process_ms(command, env=None, pipe=False):
    """User + system CPU time of one whole run of a program, in ms; with
    pipe, its standard output is a pipe drained here."""
    child = subprocess.Popen(command, env=env,
                             stdout=subprocess.PIPE if pipe else subprocess.DEVNULL)
    if pipe:
        while os.read(child.stdout.fileno(), 1 << 20):
            pass
        child.stdout.close()
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit("bench-jpeg-speed: %s failed" % command[0])
    return (usage.ru_utime + usage.ru_stime) * 1000


class Case:
    def __init__(self, bench, picture, level, mode, progressive, sharpen, repeats=REPEATS):
        self.name = "%s %d %s" % (picture, level, mode)
        self.mode = mode
        ppm = bench.path(picture + ".ppm")
        tables, scans = bench.settings(level)
        flags = ["-l", str(level), "-s", str(sharpen)] + (["-p"] if progressive else [])
        self.ours_run = [bench.encoder] + flags + [ppm, bench.path("ours.jpg")]
        self.ours_pipe = [bench.encoder] + flags + [ppm, "/dev/stdout"]
        self.ours_inproc = [bench.encoder] + flags + ["-r", str(repeats), ppm, bench.path("ours.jpg")]
        cjpeg = (["cjpeg", "-qtables", tables, "-qslots", "0,1,1", "-sample", "2x2,1x1,1x1",
                  "-optimize"] + (["-scans", scans] if progressive else []))
        self.cjpeg_run = cjpeg + ["-outfile", bench.path("cjpeg.jpg"), ppm]
        self.cjpeg_pipe = cjpeg + [ppm]
        self.peer_inproc = [bench.peer, tables, scans if progressive else "-", str(repeats), ppm,
                            bench.path("peer.jpg")]


class Bench:
    def __init__(self, build, work):
        self.encoder = os.path.join(build, "jpeg/tools/pixtune-encode")
        self.peer = os.path.join(build, "jpeg/tools/libjpeg-encode")
        self.work = work
        self.plain = dict(os.environ, JSIMD_FORCENONE="1")
        for program in (self.encoder, self.peer):
            if not os.access(program, os.X_OK):
                sys.exit("bench-jpeg-speed: %s is missing (libjpeg62-turbo-dev builds the peer)" % program)
        self.tiny = self.path("tiny.ppm")
        Image.fromarray(np.full((16, 16, 3), 128, np.uint8)).save(self.tiny)

    def path(self, name):
        return os.path.join(self.work, name)

    def settings(self, level):
        """Our tables and scan script for a level, as files for cjpeg."""
        tables, scans = self.path("tables%d.txt" % level), self.path("scans%d.txt" % level)
        if not os.path.exists(scans):
            run([self.encoder, "-l", str(level), "--qtables", tables, "--scans", scans, self.tiny,
                 self.path("tiny.jpg")])
        return tables, scans


def same_file(a, b):
    with open(a, "rb") as f, open(b, "rb") as g:
        return f.read() == g.read()


def main():
    build, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    bench = Bench(build, work)
    for name in PICTURES:
        Image.open(os.path.join(SKIMAGE_DATA, name + ".png")).convert("RGB").save(bench.path(name + ".ppm"))
    Image.open(os.path.join(SKIMAGE_DATA, "coffee.png")).convert("RGB").resize(
        (4896, 3264), Image.BICUBIC).save(bench.path("coffee16m.ppm"))
    cases = [Case(bench, picture, level, mode, progressive, sharpen)
             for picture in PICTURES for mode, progressive, sharpen in MODES for level in LEVELS]
    big = [Case(bench, "coffee16m", 32, mode, progressive, 0, max(1, REPEATS // 10))
           for mode, progressive, _ in MODES[:2]]

    # The in-process peer must do cjpeg's work: its file equals cjpeg's.
    for case in cases + big:
        run(case.cjpeg_run)
        run(case.peer_inproc[:3] + ["1"] + case.peer_inproc[4:])
        if not same_file(bench.path("peer.jpg"), bench.path("cjpeg.jpg")):
            sys.exit("bench-jpeg-speed: libjpeg-encode does not reproduce cjpeg's file for " + case.name)

    rows = ("in", "in simd", "in plain", "run", "run simd", "run plain", "pipe", "pipe simd")
    sets = {"small": cases, "big": big}
    totals = {(which, row): [] for which in sets for row in rows}
    by_mode = {(mode, side): [] for mode, _, _ in MODES for side in ("in", "in simd")}
    for round_index in range(ROUNDS):
        sums = {key: 0.0 for key in totals}
        mode_sums = {key: 0.0 for key in by_mode}
        for which, members in sets.items():
            for case in members:
                measures = [
                    ("in", lambda: float(run(case.ours_inproc))),
                    ("in simd", lambda: float(run(case.peer_inproc))),
                    ("in plain", lambda: float(run(case.peer_inproc, bench.plain))),
                    ("run", lambda: process_ms(case.ours_run)),
                    ("run simd", lambda: process_ms(case.cjpeg_run)),
                    ("run plain", lambda: process_ms(case.cjpeg_run, bench.plain)),
                    ("pipe", lambda: process_ms(case.ours_pipe, pipe=True)),
                    ("pipe simd", lambda: process_ms(case.cjpeg_pipe, pipe=True)),
                ]
                if round_index % 2:
                    measures.reverse()
                for row, measure in measures:
                    ms = measure()
                    sums[(which, row)] += ms
                    if which == "small" and (case.mode, row) in mode_sums:
                        mode_sums[(case.mode, row)] += ms
        for key in totals:
            totals[key].append(sums[key])
        for key in by_mode:
            by_mode[key].append(mode_sums[key])
        print("round %d of %d: ours %.1f ms in process, %.1f ms whole runs" % (
            round_index + 1, ROUNDS, sums[("small", "in")], sums[("small", "pipe")]),
            file=sys.stderr, flush=True)

    print("== JPEG encoder speed: %d encodes (%s; levels %s; %s) and %d of 16 megapixels, %d "
          "paired rounds; each figure the round's total in ms" % (
              len(cases), ", ".join(PICTURES), ",".join(map(str, LEVELS)),
              ", ".join(m[0] for m in MODES), len(big), ROUNDS))
    print("in process: least thread CPU of one encode over %d in one process (%d for 16 MP); "
          "whole runs: user + system CPU of one run" % (REPEATS, max(1, REPEATS // 10)))
    print(bench_row.HEADER)
    for which, work in (("small", "JPEG %d encodes" % len(cases)),
                        ("big", "JPEG 16 MP, base + prog")):
        t = lambda row: totals[(which, row)]  # noqa: E731
        bench_row.row(work + ", in process", "ms", t("in"), "SIMD libjpeg", t("in simd"), 0.8)
        bench_row.row(work + ", in process", "ms", t("in"), "plain libjpeg", t("in plain"),
                      record=False)
        bench_row.row(work + ", whole runs into a pipe", "ms", t("pipe"), "SIMD cjpeg",
                      t("pipe simd"), 1.0)
        bench_row.row(work + ", whole runs into a file", "ms", t("run"), "SIMD cjpeg",
                      t("run simd"), 1.0, record=False)
        bench_row.row(work + ", whole runs into a file", "ms", t("run"), "plain cjpeg",
                      t("run plain"), record=False)
    for mode, _, _ in MODES:
        bench_row.row("  in process, %s only" % mode, "ms", by_mode[(mode, "in")], "SIMD libjpeg",
                      by_mode[(mode, "in simd")], record=False)


if __name__ == "__main__":
    main()
