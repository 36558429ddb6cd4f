#!/usr/bin/env bash
# Checks that the application's sources are formatted with the repository's .clang-format: every .cpp and .h
# under app/, output/ and ui/, and the window layer's files written in the same style. Lists the files that
# are off and exits non-zero when there are any. Run from anywhere; needs clang-format (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
if ! command -v "$CLANG_FORMAT" >/dev/null 2>&1; then
  echo "check-format: $CLANG_FORMAT not found (scripts/install-deps.sh installs it)" >&2
  exit 2
fi

files=()
while IFS= read -r -d '' f; do files+=("$f"); done < <(find app output ui -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
files+=(platform/gui/widgets/PropertyGrid.cpp platform/gui/widgets/TreeCtrl.cpp platform/gui/widgets/Edit.cpp)

off=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  if ! "$CLANG_FORMAT" --style=file --dry-run --Werror "$f" >/dev/null 2>&1; then off+=("$f"); fi
done

if [ ${#off[@]} -ne 0 ]; then
  echo "Not formatted with .clang-format (${#off[@]} of ${#files[@]} files; clang-format -i <file> formats one):"
  printf '  %s\n' "${off[@]}"
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
