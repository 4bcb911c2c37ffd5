# Sourced by the Wine scripts: the environment for one build tree's prefix.
# Usage: set wine_bits (32 or 64) and wine_prefix, then ". wine-env.sh";
# "$WINE" then runs a program.
# Debian's "wine" picks the 32-bit loader whenever it is installed, so the
# 64-bit loader is named directly.

export WINEPREFIX="$wine_prefix"
if [ "$wine_bits" = 64 ]; then
  unset WINEARCH
  export WINELOADER=/usr/lib/wine/wine64
  WINE=/usr/lib/wine/wine64
else
  export WINEARCH=win32
  unset WINELOADER
  WINE=wine
fi
# Skip the Mono and Gecko installers: no test needs them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
