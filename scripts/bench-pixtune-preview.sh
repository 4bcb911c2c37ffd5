#!/usr/bin/env bash
# Preview benchmark of Pixtune's export window: coffee (python3-skimage)
# scaled to 3000x2000 with ImageMagick; our image preview (compress and
# reconstruct in memory) beside cjpeg -optimize then djpeg on the same
# picture in plain code (JSIMD_FORCENONE=1), and a thumbnail re-preview
# after a change of levels only, with its count of whole-image resamples.
# Takes the bench build dir; without one it builds the JPEG part there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${BUILD_ROOT:-$root/build}/bench}
if [ ! -x "$build/jpeg/tools/pixtune-preview" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DENABLE_SANITIZERS=OFF \
    -DBUILD_PARTS="platform/base;jpeg" >/dev/null
  cmake --build "$build" -j "${BUILD_JOBS:-3}" --target pixtune-preview >/dev/null
fi
work=$build/jpeg/preview-bench
mkdir -p "$work"
coffee=$(/usr/bin/python3 -c 'import os, skimage.data; print(os.path.join(os.path.dirname(skimage.data.__file__), "coffee.png"))')
/usr/bin/convert "$coffee" -resize '3000x2000!' "$work/coffee-3000.ppm"
export JSIMD_FORCENONE=1
/usr/bin/python3 - "$build/jpeg/tools/pixtune-preview" "$work" <<'PY'
import os, resource, subprocess, sys
tool, work = sys.argv[1], sys.argv[2]
src = os.path.join(work, "coffee-3000.ppm")
ours = dict((l.split()[0], l.split()[1:]) for l in
            subprocess.run([tool, "-l", "64", "-r", "5", src], check=True,
                           capture_output=True, text=True).stdout.splitlines())
def children_cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (r.ru_utime + r.ru_stime) * 1000.0
best = 1e30
jpg, out = os.path.join(work, "peer.jpg"), os.path.join(work, "peer.ppm")
for _ in range(5):
    start = children_cpu()
    subprocess.run(["cjpeg", "-optimize", "-quality", "75", "-outfile", jpg, src], check=True)
    subprocess.run(["djpeg", "-outfile", out, jpg], check=True)
    best = min(best, children_cpu() - start)
img_ms, img_bytes = float(ours["image"][0]), int(ours["image"][1])
print("picture: coffee 3000x2000, level 64 (ours) / quality 75 (cjpeg), JSIMD_FORCENONE=1")
print(f"{'what':34} {'ours ms':>9} {'peer ms':>9}")
print(f"{'image preview (encode+reconstruct)':34} {img_ms:9.1f} {best:9.1f}   cjpeg -optimize + djpeg; "
      f"ours {img_bytes} bytes, cjpeg {os.path.getsize(jpg)} bytes")
print(f"{'thumbnail preview, first':34} {float(ours['thumbnail-first'][0]):9.1f}"
      f"   whole-image resamples {ours['thumbnail-first'][1]}")
print(f"{'thumbnail re-preview, levels only':34} {float(ours['thumbnail-levels'][0]):9.1f}"
      f"   whole-image resamples {ours['thumbnail-levels'][1]} (unchanged: none added)")
ok = img_ms < best and ours["thumbnail-levels"][1] == ours["thumbnail-first"][1]
print("target met" if ok else "target NOT met")
PY
