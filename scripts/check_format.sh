#!/usr/bin/env bash
# Fails when a C++ source of the repository differs from what clang-format-14 makes of
# it under the root .clang-format, naming every such file once. Fix with
#   clang-format-14 -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."

# Tracked files only, so that generated sources in build folders are never checked; a
# copy without git history falls back to the source folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path ./build -prune -o -path ./dist -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sort)
fi

bad=0
for f in "${files[@]}"; do
  if ! clang-format-14 --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "not formatted: $f"
    bad=1
  fi
done
[ $bad -eq 0 ] && echo "all ${#files[@]} C++ files formatted"
exit $bad
