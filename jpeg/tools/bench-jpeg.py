#!/usr/bin/python3
"""Benchmark of the encoder against cjpeg on the colour test pictures of
Debian's python3-skimage (astronaut, coffee, chelsea).

Modes: baseline, progressive, and baseline with sharpen 100 (rounding
instead of the dead zone in busy blocks). For each picture and level: our encode time (whole process: read the PPM,
encode, write the file; best of several runs), file size, and PSNR/SSIM of
djpeg's decode against the source; beside it cjpeg with the same
quantisation tables (-optimize; -progressive with our scan script), with
libjpeg-turbo's SIMD and in plain code (JSIMD_FORCENONE=1). "at equal PSNR"
interpolates cjpeg's size at our PSNR on cjpeg's own curve over all levels
(same tables), since our quantiser's dead zone trades PSNR for size.
Times are the least CPU time of 15 process runs less each program's
start-up (the same run on an 8x8 picture), so that loading libraries does
not count as encoding.

usage: bench-jpeg.py <pixtune-encode> <work dir>
"""
import math
import os
import resource
import subprocess
import sys

import numpy as np
from PIL import Image
from skimage import data as skdata
from skimage.metrics import peak_signal_noise_ratio, structural_similarity

LEVELS = [4, 8, 16, 32, 64, 128, 192]
RUNS = 15


def best_time(command, env=None):
    """Least CPU time (user + system) of the child over RUNS runs, in ms:
    on a shared machine CPU time is far steadier than wall time."""
    best = math.inf
    for _ in range(RUNS):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run(command, check=True, env=env, stdout=subprocess.DEVNULL)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        used = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        best = min(best, used)
    return best * 1000


def decode(path, work):
    out = os.path.join(work, "decoded.ppm")
    with open(out, "wb") as f:
        subprocess.run(["djpeg", "-pnm", path], check=True, stdout=f)
    return np.asarray(Image.open(out).convert("RGB"))


def quality(source, path, work):
    decoded = decode(path, work)
    return (peak_signal_noise_ratio(source, decoded, data_range=255),
            structural_similarity(source, decoded, channel_axis=2, data_range=255))


def size_at_psnr(curve, psnr):
    """cjpeg's size at a PSNR, log-linear between its two nearest points."""
    curve = sorted(curve)
    for (p0, s0), (p1, s1) in zip(curve, curve[1:]):
        if p0 <= psnr <= p1 and p1 > p0:
            t = (psnr - p0) / (p1 - p0)
            return math.exp(math.log(s0) + t * (math.log(s1) - math.log(s0)))
    return float("nan")


def main():
    encoder, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    plain = dict(os.environ, JSIMD_FORCENONE="1")
    tiny = os.path.join(work, "tiny.ppm")
    Image.fromarray(np.full((8, 8, 3), 128, np.uint8)).save(tiny)
    startup = {
        "ours": best_time([encoder, tiny, os.path.join(work, "tiny.jpg")]),
        "cjpeg": best_time(["cjpeg", "-optimize", "-outfile", os.path.join(work, "tiny.jpg"), tiny]),
        "plain": best_time(["cjpeg", "-optimize", "-outfile", os.path.join(work, "tiny.jpg"), tiny], env=plain),
    }
    print("start-up (subtracted): ours %.2f ms, cjpeg %.2f ms, plain cjpeg %.2f ms"
          % (startup["ours"], startup["cjpeg"], startup["plain"]))
    print("%-9s %5s %4s | %8s %8s %6s %6s | %8s %8s %8s %6s %6s | %7s %7s"
          % ("image", "level", "mode", "ours ms", "bytes", "PSNR", "SSIM", "cjpeg ms", "plain ms",
             "bytes", "PSNR", "SSIM", "size%", "eqPSNR%"))
    totals = {"ours": 0.0, "plain": 0.0}
    for name in ("astronaut", "coffee", "chelsea"):
        source = getattr(skdata, name)()[:, :, :3]
        ppm = os.path.join(work, name + ".ppm")
        Image.fromarray(source).save(ppm)
        for progressive, sharpen in ((False, 0), (True, 0), (False, 100)):
            rows, cjpeg_curve = [], []
            for level in LEVELS:
                ours = os.path.join(work, "ours.jpg")
                tables = os.path.join(work, "tables.txt")
                scans = os.path.join(work, "scans.txt")
                command = [encoder, "-l", str(level), "-s", str(sharpen), "--qtables", tables, "--scans", scans]
                if progressive:
                    command.append("-p")
                subprocess.run(command + [ppm, ours], check=True)
                ours_ms = best_time(command + [ppm, ours]) - startup["ours"]
                ours_bytes = os.path.getsize(ours)
                ours_psnr, ours_ssim = quality(source, ours, work)

                theirs = os.path.join(work, "cjpeg.jpg")
                cjpeg = ["cjpeg", "-qtables", tables, "-qslots", "0,1,1", "-sample", "2x2,1x1,1x1",
                         "-optimize", "-outfile", theirs]
                if progressive:
                    cjpeg += ["-scans", scans]
                cjpeg.append(ppm)
                cjpeg_ms = best_time(cjpeg) - startup["cjpeg"]
                plain_ms = best_time(cjpeg, env=plain) - startup["plain"]
                cjpeg_bytes = os.path.getsize(theirs)
                cjpeg_psnr, cjpeg_ssim = quality(source, theirs, work)
                cjpeg_curve.append((cjpeg_psnr, cjpeg_bytes))
                totals["ours"] += ours_ms
                totals["plain"] += plain_ms
                mode = "prog" if progressive else "base" if sharpen == 0 else "s100"
                rows.append([name, level, mode, ours_ms, ours_bytes, ours_psnr,
                             ours_ssim, cjpeg_ms, plain_ms, cjpeg_bytes, cjpeg_psnr, cjpeg_ssim])
            for row in rows:
                equal = size_at_psnr(cjpeg_curve, row[5])
                print("%-9s %5d %4s | %8.2f %8d %6.2f %6.4f | %8.2f %8.2f %8d %6.2f %6.4f | %+6.1f%% %+6.1f%%"
                      % tuple(row + [100.0 * (row[4] / row[9] - 1), 100.0 * (row[4] / equal - 1)]))
    print("total encode time: ours %.1f ms, plain-code cjpeg %.1f ms" % (totals["ours"], totals["plain"]))


if __name__ == "__main__":
    main()
