# Sourced by the typed-input tests: finding Wine's windows on the X server
# and typing into them as a person does, each step waiting until what it
# did shows. Set artefacts (the screenshots' folder, emptied here) first.
for tool in xdotool import; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is needed"; exit 1; }
done
mkdir -p "$artefacts"
rm -f "$artefacts"/*.png
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Runs the command until it succeeds, looking again every tenth of a second;
# after the deadline says what it waited for and fails. (A command given to
# eval reads the caller's arguments from variables: it runs here.)
wait_until() { # seconds what command...
  limit=$(($(date +%s) + $1))
  what=$2
  shift 2
  until "$@"; do
    if [ "$(date +%s)" -ge "$limit" ]; then
      echo "gave up waiting for $what" >&2
      return 1
    fi
    sleep 0.1
  done
}
# The X window of Wine's visible top-level window whose whole title matches
# this pattern (a regular expression).
shown() { found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1) && [ -n "$found" ]; }
window() { wait_until 60 "a window \"$1\"" shown "$1" && echo "$found"; }
# Waits until no visible window's whole title matches the pattern.
gone() {
  title=$1
  wait_until 20 "no window \"$title\"" eval '! shown "$title"'
}
# Waits until the page driver shows one window alone: QorSim's splash
# gone (which would take the focus with it when it closes), and no tip.
alone() {
  wait_until 60 "the page driver's only window" \
    eval '[ "$(xdotool search --onlyvisible --class page-driver 2>/dev/null | wc -l)" -le 1 ]'
}
# The screen's picture, as a checksum.
picture() { import -window root rgb:- 2>/dev/null | md5sum; }
# Waits until the screen holds still: the same picture twice in a row.
still() { last=$(picture) && now=$(picture) && [ "$now" = "$last" ]; }
# Waits until the screen differs from the picture $1, then holds still:
# what the input made the program draw is all drawn.
redrawn() { # picture what
  old=$1
  wait_until 20 "the screen to change after $2" eval '[ "$(picture)" != "$old" ]' &&
    wait_until 20 "the screen to hold still after $2" still
}
# Gives the window the focus, once it has painted itself as active.
focus() {
  xdotool windowfocus --sync "$1"
  wait_until 20 "the focused window to hold still" still
}
# Keys typed into the window that has the focus, as a keyboard types them,
# and what they change drawn.
keys() {
  before=$(picture)
  xdotool key --delay 150 "$@"
  redrawn "$before" "keys $*" || fail "the keys $* changed nothing on the screen"
}
shot() { import -window root "$artefacts/$1.png" 2>/dev/null || fail "no screenshot $1"; }
# Waits for the page driver (process $1) to end by itself, else ends it.
driver_ends() { # pid shot-name
  pid=$1
  if ! wait_until 20 "the page driver to end" eval '! kill -0 "$pid" 2>/dev/null'; then
    shot "$2"
    kill "$1"
    fail "the page driver did not end"
  fi
  wait "$1" || fail "the page driver failed"
}
