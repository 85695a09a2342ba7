#!/usr/bin/env bash
# Checks, without changing anything, that every C++ header and source of the tree is formatted
# as .clang-format says. Lists the files that differ and exits 1 if there are any.
# Skips build folders, test scratch folders and the fuzz corpus. Set CLANG_FORMAT to choose the
# binary; by default clang-format-14 (installed by scripts/setup.sh), else clang-format.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

formatter=${CLANG_FORMAT:-}
if [[ -z "$formatter" ]]; then
  for candidate in clang-format-14 clang-format; do
    if command -v "$candidate" >/dev/null 2>&1; then
      formatter=$candidate
      break
    fi
  done
fi
if [[ -z "$formatter" ]] || ! command -v "$formatter" >/dev/null 2>&1; then
  echo "check_format: clang-format not found (run scripts/setup.sh)" >&2
  exit 1
fi

mapfile -d '' files < <(find . \( -path './build*' -o -path './.git' -o -path './tests/fuzz/corpus' \
  -o -name 'scratch_*' \) -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

differing=()
for file in "${files[@]}"; do
  if ! "$formatter" --style=file --dry-run --Werror "$file" >/dev/null 2>&1; then
    differing+=("${file#./}")
  fi
done

if [[ ${#differing[@]} -gt 0 ]]; then
  echo "check_format: ${#differing[@]} of ${#files[@]} files differ from .clang-format ($formatter):"
  printf '  %s\n' "${differing[@]}"
  exit 1
fi
echo "check_format: all ${#files[@]} files are formatted ($formatter)"
