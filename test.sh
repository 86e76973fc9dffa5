#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: once in an
# ordinary build and once under AddressSanitizer + UndefinedBehaviorSanitizer.
# The threaded serial-link tests run a third time under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
# Read only by the sanitizer builds' runtimes.
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
jobs=$(nproc)
status=0
failed_suites=()

suites=()

# A test that fails is run once more; one that passes then still counts as
# passed, and is named at the end so that it gets looked at.
run_suite() { # <build dir> <label> [ctest args...]
  local dir=$1 label=$2; shift 2
  echo "=== tests: $label ==="
  suites+=("$dir|$label")
  if ! ctest --test-dir "$dir" -j "$jobs" --output-on-failure --timeout 120 \
      --repeat until-pass:2 "$@" | tee "$dir/ctest-output.log"; then
    status=1
    failed_suites+=("$dir|$label")
  fi
}

report_second_attempts() {
  local entry dir label names
  for entry in "${suites[@]}"; do
    dir=${entry%%|*} label=${entry#*|}
    names=$(sed -n 's/^.*Test *#[0-9]*: \([^ ]*\) .*\*\*\*.*$/\1/p' "$dir/ctest-output.log" | sort -u |
      grep -vxF -f <(cut -d: -f2- "$dir/Testing/Temporary/LastTestsFailed.log" 2>/dev/null) || true)
    if [ -n "$names" ]; then
      echo "=== failed once, passed when run again, in $label ==="
      echo "$names"
    fi
  done
}

# The failures again at the very end, where a shortened log still shows them:
# their names, then each one run once more on its own with its output.
report_failures() {
  local entry dir label
  for entry in "${failed_suites[@]}"; do
    dir=${entry%%|*} label=${entry#*|}
    echo "=== failed in $label ==="
    cat "$dir/Testing/Temporary/LastTestsFailed.log" 2>/dev/null || true
    echo "--- run again, one at a time ---"
    ctest --test-dir "$dir" --rerun-failed --output-on-failure --timeout 120 || true
  done
}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
run_suite build "ordinary build"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
run_suite build-asan "AddressSanitizer + UndefinedBehaviorSanitizer"

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_TSAN=ON -DKV_BENCH=OFF >/dev/null
# The target list is read whole before it is searched: `grep -q` stops at the
# first match, and under pipefail ninja's SIGPIPE would count as no match.
tsan_targets=$(ninja -C build-tsan -t targets all 2>/dev/null || true)
if grep -q "^test_serial:" <<<"$tsan_targets"; then
  cmake --build build-tsan -j "$jobs" --target test_serial
fi
if [ -n "$(ctest --test-dir build-tsan -N -L threads | grep 'Test #' || true)" ]; then
  run_suite build-tsan "ThreadSanitizer" -L threads
fi

report_second_attempts
if [ $status -ne 0 ]; then
  report_failures
  echo "SOME TESTS FAILED"
fi
exit $status
