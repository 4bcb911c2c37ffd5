#!/usr/bin/env bash
# Preview benchmark of Pixtune's export window: coffee (python3-skimage)
# scaled to 3000x2000 with ImageMagick. Our image preview (compress and
# reconstruct in memory, level 64) beside SIMD libjpeg doing the same in
# one process (libjpeg-encode --reconstruct with our level-64 tables, RGB
# pixels back), each the least thread CPU time of one preview over 5, in
# paired rounds taking turns going first (ROUNDS, default 5); then a
# thumbnail re-preview after a change of levels only, with its count of
# whole-image resamples.
# Takes the bench build dir; without one it builds the JPEG part there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${BUILD_ROOT:-$root/build}/bench}
tools=$build/jpeg/tools
if [ ! -x "$tools/pixtune-preview" ] || [ ! -x "$tools/libjpeg-encode" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DENABLE_SANITIZERS=OFF \
    -DBUILD_PARTS="platform/base;jpeg" >/dev/null
  cmake --build "$build" -j "${BUILD_JOBS:-3}" --target pixtune-preview pixtune-encode libjpeg-encode >/dev/null
fi
work=$build/jpeg/preview-bench
mkdir -p "$work"
coffee=$(/usr/bin/python3 -c 'import os, skimage.data; print(os.path.join(os.path.dirname(skimage.data.__file__), "coffee.png"))')
/usr/bin/convert "$coffee" -resize '3000x2000!' "$work/coffee-3000.ppm"
"$tools/pixtune-encode" -l 64 --qtables "$work/tables64.txt" "$work/coffee-3000.ppm" "$work/ours.jpg"
/usr/bin/python3 - "$tools" "$work" "${ROUNDS:-5}" "$root/scripts" <<'PY'
import os, subprocess, sys
tools, work, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
sys.path.insert(0, sys.argv[4])
import bench_row
src = os.path.join(work, "coffee-3000.ppm")
def ours_run():
    out = subprocess.run([os.path.join(tools, "pixtune-preview"), "-l", "64", "-r", "5", src],
                         check=True, capture_output=True, text=True).stdout
    return dict((l.split()[0], l.split()[1:]) for l in out.splitlines())
def peer_run():
    return float(subprocess.run([os.path.join(tools, "libjpeg-encode"), "--reconstruct",
                                 os.path.join(work, "tables64.txt"), "-", "5", src,
                                 os.path.join(work, "peer.jpg")],
                                check=True, capture_output=True, text=True).stdout)
ours, peer, last = [], [], None
for r in range(rounds):
    for side in (("ours", "peer") if r % 2 == 0 else ("peer", "ours")):
        if side == "ours":
            last = ours_run()
            ours.append(float(last["image"][0]))
        else:
            peer.append(peer_run())
print("== Pixtune preview: coffee 3000x2000, level 64; in process, least thread CPU of one "
      "preview over 5; %d paired rounds" % rounds)
print(bench_row.HEADER)
bench_row.row("image preview (compress + reconstruct)", "ms", ours, "SIMD libjpeg", peer, 1.0,
              "ours %s bytes, libjpeg %d bytes" % (last["image"][1],
                                                   os.path.getsize(os.path.join(work, "peer.jpg"))))
print(f"{'thumbnail preview, first':40} {float(last['thumbnail-first'][0]):9.1f} ms"
      f"   whole-image resamples {last['thumbnail-first'][1]}")
print(f"{'thumbnail re-preview, levels only':40} {float(last['thumbnail-levels'][0]):9.1f} ms"
      f"   whole-image resamples {last['thumbnail-levels'][1]} (unchanged: none added)")
if last["thumbnail-levels"][1] != last["thumbnail-first"][1]:
    sys.exit("a change of levels alone resampled the whole image again")
PY
