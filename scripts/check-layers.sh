#!/usr/bin/env bash
# The window layer's folders stand as floors: a file of a folder includes only headers of its own
# folder and of the folders below it. Prints each include that reaches up and fails if there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
floors=(draw window widgets dialogs frame print docview)
declare -A rank
for i in "${!floors[@]}"; do rank[${floors[$i]}]=$i; done
bad=0
for floor in "${floors[@]}"; do
  dir=platform/gui/$floor
  [ -d "$dir" ] || { echo "missing folder: $dir"; bad=1; continue; }
  while IFS=: read -r file line target; do
    [ -n "$file" ] || continue
    if [ -z "${rank[$target]+x}" ]; then
      echo "$file:$line: includes platform/gui/$target/, which is not a floor"
      bad=1
    elif [ "${rank[$target]}" -gt "${rank[$floor]}" ]; then
      echo "$file:$line: $floor includes $target, a floor above it"
      bad=1
    fi
  done < <(grep -n -o '#include "platform/gui/[A-Za-z]*/' "$dir"/*.h "$dir"/*.cpp 2>/dev/null |
           sed -E 's|#include "platform/gui/([A-Za-z]*)/|\1|')
done
stray=$(find platform/gui -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) ! -name Afx.h)
if [ -n "$stray" ]; then
  echo "files outside the floors of platform/gui:"; echo "$stray"; bad=1
fi
[ "$bad" -eq 0 ] && echo "window layer floors: every include goes down or stays level"
exit "$bad"
