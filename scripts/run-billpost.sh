#!/usr/bin/env bash
# Builds Billpost and starts it under Wine with a generated sample invoice
# log, "03-1998.ldl" (50 invoices), typed into its file name field by hand
# or chosen with Open. Installs what is missing first; runs inside a virtual
# display when there is none. Where this machine cannot run 32-bit code,
# the 64-bit build of the same sources is started under 64-bit Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$root/build}
"$root/scripts/setup.sh"
if "$root/scripts/can-run-32bit.sh"; then
  wine_bits=32 tree=win32
else
  wine_bits=64 tree=win64
fi
BUILD_TREES=$tree BUILD_PARTS="platform/base;platform/components;invoice-mailer" \
  "$root/scripts/build.sh"
exe="$build/$tree/invoice-mailer/Billpost.exe"
if [ ! -f "$exe" ]; then
  echo "Built the tree, but $exe is missing; nothing to start." >&2
  exit 1
fi
sample="$build/$tree/invoice-mailer/sample"
mkdir -p "$sample"
printf '@log 03-1998\n@random count=50 seed=1998\n' >"$sample/sample-log.txt"
/usr/bin/python3 "$root/invoice-mailer/tools/make-invoice-logs.py" "$sample/sample-log.txt" "$sample"
echo "Sample log: $sample/03-1998.ldl"
wine_prefix="$build/$tree/wineprefix"
if [ ! -f "$wine_prefix/system.reg" ]; then
  "$root/scripts/wine-new-prefix.sh" "$wine_bits" "$wine_prefix"
fi
"$root/scripts/wine-font-replacements.sh" "$wine_bits" "$wine_prefix"
. "$root/scripts/wine-env.sh"
export WINEDEBUG=-all
cd "$sample"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$WINE" "$exe"
fi
exec "$WINE" "$exe"
