#!/usr/bin/env bash
# Set-up, build, and the week's three files written with the embedded corpora.
# Usage: scripts/run.sh [--week YYYY-MM-DD] [--out FOLDER] [--count N]
# Builds the native CLI, the Windows programs into dist/, then writes the folk,
# astro and jokes files of the week (default: the next week the window would preset)
# into FOLDER/generated (default: ./out).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux
cmake --preset windows >/dev/null
cmake --build --preset windows
# The deliverables: a missing one stops the run with a message, never silently.
mkdir -p dist
for f in build/windows/app/win32/Velmora.exe build/windows/cli/velmora-cli.exe; do
  [ -f "$f" ] || { echo "run.sh: $f was not built" >&2; exit 1; }
  cp "$f" dist/
done

week_args=()
out=out
count_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --week) week_args=(--week "$2"); shift 2 ;;
    --out) out="$2"; shift 2 ;;
    --count) count_args=(--count "$2"); shift 2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
mkdir -p "$out"
build/linux/cli/velmora-cli all "${week_args[@]}" --out "$(cd "$out" && pwd)" "${count_args[@]}"
