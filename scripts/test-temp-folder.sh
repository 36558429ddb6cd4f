#!/usr/bin/env bash
# The temporary folders the tests run with, in one folder ROOT of the build's own in the system's temporary
# folder: ROOT/tmp their TMPDIR (everyone may write there, as in /tmp), ROOT/runtime their XDG_RUNTIME_DIR
# (private). `prepare ROOT` makes them empty before the tests start; `check ROOT`, after they have all ended,
# fails listing what is there unless every test removed what it made, and then removes ROOT.
set -euo pipefail
mode=${1:-} root=${2:-}
if [ -z "$root" ] || { [ "$mode" != prepare ] && [ "$mode" != check ]; }; then
  echo "usage: $0 prepare|check ROOT" >&2
  exit 2
fi
if [ "$mode" = prepare ]; then
  rm -rf -- "$root"
  mkdir -m 755 -- "$root"
  mkdir -m 1777 -- "$root/tmp"
  mkdir -m 700 -- "$root/runtime"
  exit 0
fi
[ -d "$root" ] || exit 0
left=$(cd "$root" && find tmp runtime -mindepth 1 -maxdepth 1 -printf '  %p\n' 2>/dev/null | sort)
if [ -n "$left" ]; then
  echo "The tests left this in their temporary folders in $root:"
  echo "$left"
  exit 1
fi
rm -rf -- "$root"
