#!/usr/bin/env bash
# The shipped subset: a few of the Windows tests, the same test programs run
# from the shipped 32-bit build (build/win32) under 32-bit Wine, natively
# where the kernel runs 32-bit code and through qemu's user-mode emulation
# where it does not. Under emulation each Wine process start costs a minute
# or more, so the subset is few processes, most valuable first, and
# time-boxed: a check the time box cuts short, or leaves unstarted, fails the
# run and is named. The log names every shipped binary each check ran.
# Afterwards the results both builds must share are compared across them,
# and nothing of the 32-bit run may be left running.
#
# Usage: test-shipped.sh [build-root]   (default: build/ of this checkout)
# SHIPPED_TIME_LIMIT: seconds for the whole subset (default 1200).
# SHIPPED_CHECKS: names of the checks to run (default: all natively, the
#   cheap ones under emulation; see the table below).
# SHIPPED_NO_SETUP: skip the 32-bit set-up (setup-32bit.sh).
# SHIPPED_PREFIX_CACHE: where the template of the 32-bit prefix is kept
#   (default ~/.cache/shipped-wine32-prefix).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${BUILD_ROOT:-$root/build}}
tree=$build/win32
limit=${SHIPPED_TIME_LIMIT:-1200}

# Set up here, after the 64-bit tests (see setup.sh); says why when it cannot.
if [ -z "${SHIPPED_NO_SETUP:-}" ]; then
  t0=$(date +%s)
  "$root/scripts/setup-32bit.sh"
  echo "shipped: 32-bit set-up took $(($(date +%s) - t0))s"
fi
how=$("$root/scripts/can-run-32bit.sh" --how)
if [ "$how" = no ] || ! "$root/scripts/can-run-32bit.sh"; then
  echo "== shipped subset: this machine cannot run 32-bit Wine; skipped, the win64 build stands in"
  exit 0
fi
if [ -z "${DISPLAY:-}" ]; then
  # One display for the whole subset: programs that share a wineserver
  # started without one can never create windows.
  SHIPPED_NO_SETUP=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build"
fi

wine_bits=32 wine_prefix=$tree/wineprefix
# No menu entries or file associations for the prefix: under emulation
# that program alone costs a minute of each boot.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
. "$root/scripts/wine-env.sh"
export WINE
export WINEDEBUG=-all
# Under emulation every deadline of the test drivers is stretched tenfold:
# a program's start alone takes a minute or more there.
if [ "$how" = emulated ]; then export TEST_TIME_SCALE=${TEST_TIME_SCALE:-10}; fi

started=$(date +%s)
failed=()
now() { echo $(($(date +%s) - started)); }
say() { echo "shipped [$(printf '%4d' "$(now)")s] $*"; }

# Everything of the 32-bit run ends with it: the prefix's wineserver and
# every process started with one of the tree's prefixes (under emulation a
# Wine process is a qemu process, which the wineserver alone may not end).
finish() {
  "$root/scripts/wine-fixture.sh" stop 32 "$wine_prefix"
  local report
  report=$("$root/scripts/wine-leftovers.sh" "$tree") || failed+=("leftovers")
  [ -z "$report" ] || say "$report"
}

# The checks, most valuable first:
#   name | how it runs | gtest filter | shipped files it uses | "all" | shared
# Those marked "all" run under emulation only when SHIPPED_CHECKS names
# them; a machine that runs 32-bit code natively runs them all. Billpost's
# send and the installer's round trip make prefixes of their own or start
# Wine a dozen times; under qemu, Lexitray.exe once ended with "qemu:
# uncaught target signal 11" and its form did not come up within the test's
# deadline.
# "ctest:<test>" runs a test of the tree (its prefix's fixture is this
# script's); "exe:<program>" runs a test program in the tree's prefix.
# "register" is this script's own: every COM server in four Wine starts.
# "shared" names the results of a passed check that must equal the 64-bit
# build's byte for byte (scripts/compare-builds.sh).
qorsim=circuit-sim/win32/QorSim.dll
qorlibs="passive-lib/win32/QorLib01.dll semi-lib/win32/QorLib02.dll"
checks=(
  "divider|ctest:qorsim-circuit-tests|Circuit.DividerSolvesToItsRatio|$qorsim||"
  "register|register||$qorsim $qorlibs||"
  "devices-on-a-page|ctest:qorlib02-circuit-tests qorlib02-ngspice||$qorsim $qorlibs|all|circuits"
  "lexitray-check|exe:clipboard-checker/tests/lexitray-e2e-tests.exe|LexitrayTest.ChangeInTheDialogPutsTheCorrectedTextBackAndCountsTheWords|clipboard-checker/Lexitray.exe|all|"
  "spelling-suggestions|ctest:suggestion-tests|EnglishSuggestions.OneRandomEditIsUndone:EnglishSuggestions.ClassicMisspellingsBesideHunspell|spelling/American.dct|all|suggestions"
  "plugin-export|ctest:plugin-adapters-scripted||plugin-adapters/Pixtunef.8bf plugin-adapters/Pixtunee.8be|all|jpeg"
  "billpost-send|ctest:billpost-end-to-end||invoice-mailer/Billpost.exe|all|"
  "install-round-trip|ctest:installer-e2e-install installer-e2e-uninstall||installer/package/Pixsetup.exe installer/package/Pixuns.exe|all|"
)
shared=() # the kinds of results of the checks that passed

# The classes of HKCR\CLSID whose in-process server is one of the named
# DLLs, as "<dll> <clsid> <threading model> <ProgID>" lines, from one
# "reg query /s" (each Wine start costs a minute under emulation).
registered_classes() { # dll-names...
  "$WINE" reg query 'HKCR\CLSID' /s 2>/dev/null | tr -d '\r' | python3 -c '
import re, sys
dlls = [d.lower() for d in sys.argv[1:]]
classes, key = {}, None
for line in sys.stdin:
    line = line.rstrip("\n")
    if line.startswith("HKEY_"):
        key = line
        continue
    m = re.match(r"\s+(\S+|\(Default\))\s+REG_\w+\s*(.*)$", line)
    c = re.search(r"\\CLSID\\(\{[0-9A-Fa-f-]+\})(\\.*)?$", key or "")
    if not (m and c):
        continue
    info = classes.setdefault(c.group(1), {})
    info[((c.group(2) or "").lstrip("\\"), m.group(1))] = m.group(2)
for clsid, info in sorted(classes.items()):
    server = info.get(("InprocServer32", "(Default)"), "")
    for dll in dlls:
        if server.lower().rsplit("\\", 1)[-1] == dll:
            print(dll, clsid, info.get(("InprocServer32", "ThreadingModel"), "-") or "-",
                  info.get(("ProgID", "(Default)"), "-") or "-")
' "$@"
}

# regsvr32 of every COM server at once, the classes each registers read
# back (each at least one, with a threading model and a ProgID), then
# regsvr32 /u and none left.
check_registration() { # dll paths (host)...
  local names=() dll listing failures=0
  for dll in "$@"; do names+=("$(basename "$dll" | tr 'A-Z' 'a-z')"); done
  "$WINE" regsvr32 /s "$@" || { echo "regsvr32 returned $?"; failures=1; }
  listing=$(registered_classes "${names[@]}")
  printf '%s\n' "$listing" | sed 's/^/  registered: /'
  for dll in "${names[@]}"; do
    printf '%s\n' "$listing" | grep -q "^$dll " || { echo "$dll registered no class"; failures=1; }
  done
  if printf '%s\n' "$listing" | awk 'NF && ($3 == "-" || $4 == "-")' | grep -q .; then
    echo "a class lacks its threading model or ProgID"
    failures=1
  fi
  "$WINE" regsvr32 /u /s "$@" || { echo "regsvr32 /u returned $?"; failures=1; }
  listing=$(registered_classes "${names[@]}")
  [ -z "$listing" ] || { echo "left after regsvr32 /u: $listing"; failures=1; }
  return $failures
}

run_check() { # name how filter binaries shared
  local name=$1 how=$2 filter=$3 binaries=$4 kinds=$5 left=$((limit - $(now))) b status t0
  for b in $binaries; do
    [ -f "$tree/$b" ] || { say "$name: not built here ($b missing); not run"; return 0; }
  done
  if ((left < 30)); then
    say "FAIL $name: not run, the time box of ${limit}s is spent"
    failed+=("$name")
    return
  fi
  for b in $binaries; do
    case $b in
    *.dct) say "$name reads the shipped $tree/$b" ;;
    *) say "$name runs the shipped $tree/$b" ;;
    esac
  done
  t0=$(now)
  case $how in
  ctest:*)
    local regex
    regex="^($(echo "${how#ctest:}" | tr ' ' '|'))\$"
    GTEST_FILTER=${filter:-*} timeout -k 10 "$left" \
      ctest --test-dir "$tree" -R "$regex" -FA '^wine$' --output-on-failure
    ;;
  register)
    local paths=()
    for b in $binaries; do paths+=("$tree/$b"); done
    timeout -k 10 "$left" bash -c "$(declare -f registered_classes check_registration); check_registration \"\$@\"" \
      check "${paths[@]}"
    ;;
  exe:*)
    local program=$tree/${how#exe:}
    (cd "$(dirname "$program")" && TEST_SOURCE_DIR=$root TEST_BINARY_DIR=$PWD \
      timeout -k 10 "$left" "$WINE" "$program" --gtest_color=no --gtest_filter="$filter")
    ;;
  esac
  status=$?
  if [ $status = 0 ]; then
    say "PASS $name in $(($(now) - t0))s"
    # shellcheck disable=SC2206 # a list of kinds
    shared+=($kinds)
  else
    [ $status = 124 ] && say "$name: cut short by the time box of ${limit}s"
    say "FAIL $name (exit $status) after $(($(now) - t0))s"
    failed+=("$name")
  fi
}

# Results both builds must share, byte for byte, where the 64-bit run made
# them too.
compare_builds() {
  [ ${#shared[@]} -gt 0 ] && [ -d "$build/win64" ] || return 0
  "$root/scripts/compare-builds.sh" "$tree" "$build/win64" "${shared[@]}" | while IFS= read -r line; do
    say "$line"
  done
  [ "${PIPESTATUS[0]}" = 0 ] || failed+=("cross-build")
}

# A made prefix, whole: every process of its boot ended by itself. Wine's
# own timestamp says nothing here: the first process writes it when it
# stops waiting for the boot, which under emulation is long before the end.
whole_mark=.made-whole
prefix_whole() {
  [ -f "$wine_prefix/$whole_mark" ] && [ -f "$wine_prefix/system.reg" ] &&
    [ -f "$wine_prefix/drive_c/windows/system32/kernel32.dll" ]
}
# Seconds left of the time box, at least 1 (timeout takes no less).
time_left() {
  local n=$((limit - $(now)))
  echo $((n > 0 ? n : 1))
}
# Under emulation a fresh prefix takes many minutes to make. The first one
# made for this Wine (this wine.inf: Wine then sees nothing to update) is
# kept as a template, and a later build tree's prefix starts as a copy of
# it: seconds instead of minutes.
wine_inf=/usr/share/wine/wine.inf
template_dir=${SHIPPED_PREFIX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/shipped-wine32-prefix}
template=$template_dir/prefix-$(stat -c %Y "$wine_inf" 2>/dev/null || echo 0)
make_prefix() {
  if [ -d "$template" ]; then
    rm -rf "$wine_prefix" && cp -a --reflink=auto "$template" "$wine_prefix" &&
      prefix_whole && made_prefix="copied from $template and" && return 0
    say "the prefix template $template is unusable; making a new prefix"
  fi
  rm -rf "$wine_prefix"
  mkdir -p "$wine_prefix"
  # The first Wine process of a new prefix waits 5 minutes for the boot it
  # starts and then goes on without it: under emulation it then dies
  # ("could not load kernel32.dll", "qemu: uncaught target signal 11")
  # while the boot itself goes on to the end. So its status says nothing;
  # the end of every process of the prefix, and the prefix, do.
  timeout -k 10 "$(time_left)" "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
  timeout -k 10 "$(time_left)" wineserver -w || return 1
  touch "$wine_prefix/$whole_mark"
  prefix_whole || return 1
  made_prefix=made
  rm -rf "$template.part" && mkdir -p "$template_dir" &&
    cp -a --reflink=auto "$wine_prefix" "$template.part" && mv -T "$template.part" "$template" &&
    say "prefix kept as the template $template"
}

say "32-bit Wine runs $how here; time box ${limit}s"
if ! prefix_whole && ! make_prefix; then
  say "FAIL: the 32-bit prefix could not be made"
  failed+=("prefix")
elif ! timeout -k 10 "$(time_left)" "$root/scripts/wine-fixture.sh" start 32 "$wine_prefix"; then
  say "FAIL: the 32-bit prefix could not be started"
  failed+=("prefix")
else
  say "prefix ${made_prefix:+$made_prefix }started in $(now)s"
  for check in "${checks[@]}"; do
    IFS='|' read -r name how_ filter binaries only_all kinds <<<"$check"
    if [ -n "${SHIPPED_CHECKS:-}" ]; then
      [[ " $SHIPPED_CHECKS " == *" $name "* ]] || continue
    elif [ "$only_all" = all ] && [ "$how" = emulated ]; then
      say "$name: not run under emulation (SHIPPED_CHECKS=\"$name\" runs it)"
      continue
    fi
    run_check "$name" "$how_" "$filter" "$binaries" "$kinds"
  done
fi
finish
compare_builds

if [ ${#failed[@]} -gt 0 ]; then
  say "shipped subset failed: ${failed[*]} (total $(now)s)"
  exit 1
fi
say "shipped subset passed (total $(now)s)"
