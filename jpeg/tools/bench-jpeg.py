#!/usr/bin/python3
"""Benchmark of the encoder against cjpeg on the colour test pictures of
Debian's python3-skimage (astronaut, coffee, chelsea).

Modes: baseline, progressive, and baseline with sharpen 100 (rounding
instead of the dead zone in busy blocks). For each picture and level:

- time: the least thread CPU time of one encode from memory into memory
  over REPEATS encodes in one process, for our encoder (pixtune-encode -r)
  and for libjpeg driven with cjpeg's settings (libjpeg-encode; its file
  is checked to equal cjpeg's), with SIMD and in plain code
  (JSIMD_FORCENONE=1). Neither reading the picture nor process start-up
  counts.
- size and quality: file size, and PSNR/SSIM of djpeg's decode against
  the source picture, ours beside cjpeg's with the same quantisation
  tables (-qtables, -sample 2x2,1x1,1x1, -optimize; -scans with our
  script). "eqPSNR" is our size against cjpeg's at our PSNR, read from
  cjpeg's curve over a dense run of levels with our tables (log-linear
  between neighbours).
- "jt": jpegtran -optimize of our baseline file against ours, i.e. our
  entropy coding against libjpeg's for the same quantised coefficients.
- attribution: the encoder rebuilt from a copy of its sources with one of
  two fixed rules changed to cjpeg's, and eqPSNR of each build: "chr"
  chroma samples rounded (ours are truncated), "rnd" rounding to nearest
  (ours has a dead zone of one step), and "all" the two together. The shipped sources are not
  touched.

usage: bench-jpeg.py <build dir> <work dir>
"""
import math
import os
import resource
import shutil
import subprocess
import sys

import numpy as np
from PIL import Image
from skimage import data as skdata
from skimage.metrics import peak_signal_noise_ratio, structural_similarity

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LEVELS = [4, 8, 16, 32, 64, 128, 192]
CURVE_LEVELS = sorted(set(list(range(1, 16)) + list(range(16, 64, 2)) + list(range(64, 256, 4)) + [255]))
REPEATS = 40
PROCESS_RUNS = 10
MODES = (("base", False, 0), ("prog", True, 0), ("s100", False, 100))

# The rules an attribution build changes: (file, text, replacement).
ENCODER = "jpeg/core/jpeg-encoder.cpp"
VARIANTS = {
    "chr": [(ENCODER, "rgbToCb_[2][i] = 32768 * i + 8388608;", "rgbToCb_[2][i] = 32768 * i + 8388608 + 32767;"),
            (ENCODER, "rgbToCr_[0][i] = 32768 * i + 8388608;", "rgbToCr_[0][i] = 32768 * i + 8388608 + 32767;")],
    "rnd": [(ENCODER, "(sharpen ? d - h : d)", "(d - h)")],
}
VARIANTS["all"] = VARIANTS["chr"] + VARIANTS["rnd"]


def run(command, env=None):
    return subprocess.run(command, check=True, env=env, stdout=subprocess.PIPE, text=True).stdout


def build_variant(work, name, patches):
    """Our encoder front end compiled from a patched copy of the sources."""
    tree = os.path.join(work, "variant-" + name)
    shutil.rmtree(tree, ignore_errors=True)
    for folder in ("jpeg/core", "jpeg/tools"):
        shutil.copytree(os.path.join(ROOT, folder), os.path.join(tree, folder))
    for path, text, replacement in patches:
        full = os.path.join(tree, path)
        with open(full) as f:
            source = f.read()
        if source.count(text) != 1:
            sys.exit("bench-jpeg: the %s rule is no longer written as expected in %s" % (name, path))
        with open(full, "w") as f:
            f.write(source.replace(text, replacement))
    binary = os.path.join(tree, "pixtune-encode")
    sources = [os.path.join(tree, "jpeg/core", f) for f in sorted(os.listdir(os.path.join(tree, "jpeg/core")))
               if f.endswith(".cpp")]
    return subprocess.Popen(["g++", "-O2", "-std=c++17", "-I", tree, "-o", binary] + sources +
                            [os.path.join(tree, "jpeg/tools/pixtune-encode.cpp")]), binary


def process_ms(command, env=None):
    """Least CPU time (user + system) of a whole run of a program, in ms."""
    best = math.inf
    for _ in range(PROCESS_RUNS):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run(command, check=True, env=env, stdout=subprocess.DEVNULL)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        best = min(best, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime))
    return best * 1000


def decode(path, work):
    out = os.path.join(work, "decoded.ppm")
    with open(out, "wb") as f:
        subprocess.run(["djpeg", "-pnm", path], check=True, stdout=f)
    return np.asarray(Image.open(out).convert("RGB"))


def psnr(source, path, work):
    return peak_signal_noise_ratio(source, decode(path, work), data_range=255)


def quality(source, path, work):
    decoded = decode(path, work)
    return (peak_signal_noise_ratio(source, decoded, data_range=255),
            structural_similarity(source, decoded, channel_axis=2, data_range=255))


def size_at_psnr(curve, value):
    """cjpeg's size at a PSNR, log-linear between its two nearest points."""
    curve = sorted(curve)
    for (p0, s0), (p1, s1) in zip(curve, curve[1:]):
        if p0 <= value <= p1 and p1 > p0:
            t = (value - p0) / (p1 - p0)
            return math.exp(math.log(s0) + t * (math.log(s1) - math.log(s0)))
    return float("nan")


def percent(ours, theirs):
    return 100.0 * (ours / theirs - 1)


class Bench:
    def __init__(self, build, work):
        self.encoder = os.path.join(build, "jpeg/tools/pixtune-encode")
        self.peer = os.path.join(build, "jpeg/tools/libjpeg-encode")
        self.work = work
        self.plain = dict(os.environ, JSIMD_FORCENONE="1")
        self.tiny = os.path.join(work, "tiny.ppm")
        Image.fromarray(np.full((16, 16, 3), 128, np.uint8)).save(self.tiny)

    def path(self, name):
        return os.path.join(self.work, name)

    def settings(self, level):
        """Our tables and scan script for a level, as files for cjpeg."""
        tables, scans = self.path("tables%d.txt" % level), self.path("scans%d.txt" % level)
        if not os.path.exists(scans):
            run([self.encoder, "-l", str(level), "--qtables", tables, "--scans", scans,
                 self.tiny, self.path("tiny.jpg")])
        return tables, scans

    def cjpeg(self, ppm, level, progressive, out, env=None, timed=False):
        tables, scans = self.settings(level)
        command = ["cjpeg", "-qtables", tables, "-qslots", "0,1,1", "-sample", "2x2,1x1,1x1",
                   "-optimize", "-outfile", out]
        if progressive:
            command += ["-scans", scans]
        if timed:
            return process_ms(command + [ppm], env)
        run(command + [ppm], env)
        return None

    def curve(self, source, ppm, progressive):
        out, points = self.path("curve.jpg"), []
        for level in CURVE_LEVELS:
            self.cjpeg(ppm, level, progressive, out)
            points.append((psnr(source, out, self.work), os.path.getsize(out)))
        return points

    def ours(self, binary, ppm, level, progressive, sharpen, out, repeats=0, timed=False):
        command = [binary, "-l", str(level), "-s", str(sharpen)]
        if progressive:
            command.append("-p")
        if timed:
            return process_ms(command + [ppm, out])
        if repeats:
            command += ["-r", str(repeats)]
        result = run(command + [ppm, out])
        return float(result) if repeats else None

    def peer_ms(self, ppm, level, progressive, env, expected):
        tables, scans = self.settings(level)
        out = self.path("peer.jpg")
        ms = float(run([self.peer, tables, scans if progressive else "-", str(REPEATS), ppm, out], env=env))
        with open(out, "rb") as a, open(expected, "rb") as b:
            if a.read() != b.read():
                sys.exit("bench-jpeg: libjpeg-encode does not reproduce cjpeg's file")
        return ms


def main():
    build, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    bench = Bench(build, work)
    jobs = {name: build_variant(work, name, patches) for name, patches in VARIANTS.items()}
    variants = {}
    for name, (job, binary) in jobs.items():
        if job.wait() != 0:
            sys.exit("bench-jpeg: the %s build failed" % name)
        variants[name] = binary

    print("times: least thread CPU ms of one encode over %d in-process encodes; "
          "eq%%: size against cjpeg's at equal PSNR" % REPEATS)
    print("%-9s %5s %4s | %6s %6s %6s | %7s %6s %6s | %7s %6s %6s | %6s %6s | %5s | %6s %6s %6s"
          % ("image", "level", "mode", "ours", "cjpeg", "plain", "bytes", "PSNR", "SSIM", "cjpeg", "PSNR",
             "SSIM", "size%", "eq%", "jt%", "chr", "rnd", "all"))
    totals = {"ours": 0.0, "simd": 0.0, "plain": 0.0}
    summary = {}
    for name in ("astronaut", "coffee", "chelsea"):
        source = getattr(skdata, name)()[:, :, :3]
        ppm = bench.path(name + ".ppm")
        Image.fromarray(source).save(ppm)
        curves = {False: bench.curve(source, ppm, False), True: bench.curve(source, ppm, True)}
        for mode, progressive, sharpen in MODES:
            for level in LEVELS:
                ours, theirs = bench.path("ours.jpg"), bench.path("cjpeg.jpg")
                ours_ms = bench.ours(bench.encoder, ppm, level, progressive, sharpen, ours, REPEATS)
                ours_bytes = os.path.getsize(ours)
                ours_psnr, ours_ssim = quality(source, ours, work)
                jt = float("nan")
                if not progressive:
                    optimized = bench.path("jpegtran.jpg")
                    run(["jpegtran", "-optimize", "-copy", "none", "-outfile", optimized, ours])
                    jt = percent(ours_bytes, os.path.getsize(optimized))

                bench.cjpeg(ppm, level, progressive, theirs)
                simd_ms = bench.peer_ms(ppm, level, progressive, None, theirs)
                plain_ms = bench.peer_ms(ppm, level, progressive, bench.plain, theirs)
                cjpeg_bytes = os.path.getsize(theirs)
                cjpeg_psnr, cjpeg_ssim = quality(source, theirs, work)
                curve = curves[progressive]
                equal = percent(ours_bytes, size_at_psnr(curve, ours_psnr))

                attributed = []
                for variant in ("chr", "rnd", "all"):
                    out = bench.path("variant.jpg")
                    bench.ours(variants[variant], ppm, level, progressive, sharpen, out)
                    attributed.append(percent(os.path.getsize(out), size_at_psnr(curve, psnr(source, out, work))))

                totals["ours"] += ours_ms
                totals["simd"] += simd_ms
                totals["plain"] += plain_ms
                summary.setdefault(mode, []).append((equal, attributed[-1]))
                print("%-9s %5d %4s | %6.2f %6.2f %6.2f | %7d %6.2f %6.4f | %7d %6.2f %6.4f | %+6.1f %+6.1f | %+5.1f"
                      " | %+6.1f %+6.1f %+6.1f"
                      % (name, level, mode, ours_ms, simd_ms, plain_ms, ours_bytes, ours_psnr, ours_ssim,
                         cjpeg_bytes, cjpeg_psnr, cjpeg_ssim, percent(ours_bytes, cjpeg_bytes), equal, jt,
                         *attributed), flush=True)
    for mode, rows in summary.items():
        ours = [r[0] for r in rows if not math.isnan(r[0])]
        fixed = [r[1] for r in rows if not math.isnan(r[1])]
        print("%s: size at equal PSNR %+.1f%% .. %+.1f%% (mean %+.1f%%); with cjpeg's three rules %+.1f%% .. %+.1f%%"
              % (mode, min(ours), max(ours), sum(ours) / len(ours), min(fixed), max(fixed)))
    print("total encode time: ours %.1f ms, plain-code libjpeg %.1f ms (%.2fx ours), SIMD libjpeg %.1f ms"
          % (totals["ours"], totals["plain"], totals["plain"] / totals["ours"], totals["simd"]))
    print("(whole command-line runs, paired against SIMD and plain cjpeg: bench-jpeg-speed.py)")


if __name__ == "__main__":
    main()
