#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz") and runs each *_fuzz target for SECONDS
# seconds on its working corpus in build/fuzz/corpus/<target>, which starts as a copy of
# fuzz/corpus/<target> and keeps what earlier runs added. Prints one line per target
# with its executions count; fails when a target crashes, leaks, hangs or breaks an
# invariant (the input is kept in build/fuzz/artifacts/, the log in build/fuzz/logs/).
#
# Usage: scripts/fuzz.sh SECONDS
#   FUZZ_JOBS   targets run at the same time (default 2)
#   FUZZ_ONLY   space-separated target names to run instead of all of them
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 SECONDS" >&2
  exit 2
fi
jobs="${FUZZ_JOBS:-2}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

build=build/fuzz
mkdir -p "$build/corpus" "$build/artifacts" "$build/logs"

targets=()
if [ -n "${FUZZ_ONLY:-}" ]; then
  read -r -a targets <<<"$FUZZ_ONLY"
else
  for exe in "$build"/fuzz/*_fuzz; do targets+=("$(basename "$exe")"); done
fi
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $build/fuzz" >&2; exit 1; }

run_target() {  # name: runs one target, writes its log; the exit status is libFuzzer's
  local name="$1"
  local corpus="$build/corpus/$name"
  local args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
              -artifact_prefix="$build/artifacts/$name-")
  mkdir -p "$corpus"
  [ -d "fuzz/corpus/$name" ] && cp -f fuzz/corpus/"$name"/* "$corpus"/
  [ -f "fuzz/dict/$name.dict" ] && args+=(-dict="fuzz/dict/$name.dict")
  # The manifest check has a size limit of its own; inputs may grow up to just past it.
  [ "$name" = manifest_fuzz ] && args+=(-max_len=66000)
  "$build/fuzz/$name" "${args[@]}" "$corpus" >"$build/logs/$name.log" 2>&1
}

declare -A pid_of
status=0
report() {  # name, exit status
  local name="$1" rc="$2" log="$build/logs/$1.log" runs
  runs=$(sed -n 's/^Done \([0-9]*\) runs in .*/\1/p' "$log" | tail -n 1)
  if [ "$rc" -eq 0 ] && [ -n "$runs" ]; then
    printf '%-16s %12s executions in %s s, corpus %s files\n' "$name" "$runs" "$seconds" \
      "$(find "$build/corpus/$name" -type f | wc -l)"
  else
    printf '%-16s FAILED (exit %s), log %s\n' "$name" "$rc" "$log"
    grep -E 'ERROR: |runtime error|invariant broken|Test unit written' "$log" | head -n 5 | sed 's/^/    /'
    status=1
  fi
}

running=()
for name in "${targets[@]}"; do
  [ -x "$build/fuzz/$name" ] || { echo "$name: no such target" >&2; status=1; continue; }
  run_target "$name" &
  pid_of[$name]=$!
  running+=("$name")
  if [ ${#running[@]} -ge "$jobs" ]; then
    first="${running[0]}"
    rc=0; wait "${pid_of[$first]}" || rc=$?
    report "$first" "$rc"
    running=("${running[@]:1}")
  fi
done
for name in "${running[@]}"; do
  rc=0; wait "${pid_of[$name]}" || rc=$?
  report "$name" "$rc"
done
exit $status
