#!/usr/bin/env bash
# The project's one format (.clang-format) on every C++ source in git.
#   tools/format.sh           formats them in place
#   tools/format.sh --check   lists those that differ from it and fails if any does
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" != --check ]; then
  clang-format -i --style=file "${files[@]}"
  exit 0
fi
bad=0
for file in "${files[@]}"; do
  if ! clang-format --style=file "$file" | cmp -s - "$file"; then
    echo "format: $file differs from .clang-format (tools/format.sh formats it)" >&2
    bad=1
  fi
done
exit $bad
