#!/usr/bin/env bash
# Set-up and every test: the layer check of the includes, the format check, the native
# suite, the sanitizer suite, the Windows suite under Wine, the short fuzz runs and the
# GUI smoke test. Ends with CTest's summary of the native suite, after a summary line of
# every stage.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/deps.sh
source scripts/wine_env.sh

status=0
summary=()
run_stage() {  # name, command...
  local name="$1"
  shift
  echo "==== $name"
  if "$@"; then summary+=("PASS $name"); else summary+=("FAIL $name"); status=1; fi
}

native() {
  cmake --preset linux >/dev/null
  cmake --build --preset linux
  ctest --preset linux 2>&1 | tee build/linux/ctest.log
}

asan() {
  cmake --preset linux-asan >/dev/null
  cmake --build --preset linux-asan
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset linux-asan
}

windows() {
  cmake --preset windows >/dev/null
  cmake --build --preset windows
  wine_setup "$root/build/windows"
  rm -f build/windows/velmora_tests.xml
  # The HTTPS test server's CA is new each run; WinHTTP trusts it once it is in the
  # prefix's ROOT store.
  scripts/with_test_server.sh bash -c \
    'wine build/windows/TrustTestCa.exe "Z:$VELMORA_TEST_TLS_CA" && ctest --preset windows'
  # A crash under Wine can exit 0: the report must exist and hold no failure.
  grep -q 'failures="0"' build/windows/velmora_tests.xml
}

run_stage "layer check" scripts/check_layers.sh
run_stage "format check" scripts/check_format.sh
run_stage "native tests" native
run_stage "sanitizer tests" asan
run_stage "windows tests under wine" windows
if [ -x scripts/fuzz.sh ]; then run_stage "fuzz (short runs)" scripts/fuzz.sh 20; fi
if [ -x scripts/gui_smoke.sh ]; then run_stage "gui smoke test" scripts/gui_smoke.sh; fi

echo "==== summary"
printf '%s\n' "${summary[@]}"
# The last line is CTest's own summary of the native suite.
grep -E 'tests passed|tests failed' build/linux/ctest.log | tail -n 1 || echo "no native test summary"
[ $status -eq 0 ] || { echo "some stages failed"; exit 1; }
