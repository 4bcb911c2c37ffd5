# Sourced by the typed-input tests: finding Wine's windows on the X server
# and typing into them as a person does. Set artefacts (the screenshots'
# folder) first; key_pause is the wait after keys (0.5 s unless set).
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# The X window of Wine's visible top-level window whose whole title matches
# this pattern (a regular expression).
window() {
  tries=0
  while [ "$tries" -lt 300 ]; do
    found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1)
    [ -n "$found" ] && { echo "$found"; return 0; }
    sleep 0.2
    tries=$((tries + 1))
  done
  return 1
}
# Waits until the window is the driver's only visible one (QorSim's splash
# gone, which would take the focus with it when it closes), then gives it
# the focus.
focus() {
  tries=0
  while [ "$(xdotool search --onlyvisible --class page-driver 2>/dev/null | wc -l)" -gt 1 ] &&
    [ "$tries" -lt 300 ]; do
    sleep 0.2
    tries=$((tries + 1))
  done
  xdotool windowfocus --sync "$1"
  sleep 0.5
}
# Keys typed into the window that has the focus, as a keyboard types them.
keys() { xdotool key --delay 150 "$@"; sleep "${key_pause:-0.5}"; }
shot() { import -window root "$artefacts/$1.png" 2>/dev/null || fail "no screenshot $1"; }
