#!/usr/bin/env bash
# The temporary folders the tests run with (their TMPDIR and XDG_RUNTIME_DIR, in the build folder):
# `prepare DIR...` makes each empty and private before the tests start; `check DIR...` after they have all
# ended fails, listing what is there, unless every test removed what it made (then the folders go too).
set -euo pipefail
mode=${1:-}
if [ $# -lt 2 ] || { [ "$mode" != prepare ] && [ "$mode" != check ]; }; then
  echo "usage: $0 prepare|check DIR..." >&2
  exit 2
fi
shift
status=0
for dir in "$@"; do
  if [ "$mode" = prepare ]; then
    rm -rf -- "$dir"
    mkdir -p -m 700 -- "$dir"
    continue
  fi
  [ -d "$dir" ] || continue
  left=$(find "$dir" -mindepth 1 -maxdepth 1 -printf '  %f\n' | sort)
  if [ -n "$left" ]; then
    echo "The tests left this in their temporary folder $dir:"
    echo "$left"
    status=1
  else
    rmdir -- "$dir"
  fi
done
exit $status
