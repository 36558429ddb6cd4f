#!/usr/bin/env bash
# Checks that every .cpp and .h the repository tracks is formatted with its .clang-format. Lists the files that are
# off and exits non-zero when there are any. Run from anywhere; needs clang-format (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
if ! command -v "$CLANG_FORMAT" >/dev/null 2>&1; then
  echo "check-format: $CLANG_FORMAT not found (scripts/install-deps.sh installs it)" >&2
  exit 2
fi

files=()
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  while IFS= read -r -d '' f; do files+=("$f"); done < <(git ls-files -z -- '*.cpp' '*.h')
else
  while IFS= read -r -d '' f; do files+=("$f"); done < <(find . -path ./build -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
fi

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
