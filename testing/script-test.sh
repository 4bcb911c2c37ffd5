# What the tests of the project's shell scripts share, sourced first thing:
# strict mode, $root (the checkout), a scratch folder $work that goes at
# exit, fail to count a failure and say why, and finish to end the test
# with the count of failures or with the line that says what held.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
finish() { # what held
  if ((failures > 0)); then
    echo "$failures failure(s)"
    exit 1
  fi
  echo "$1"
}
