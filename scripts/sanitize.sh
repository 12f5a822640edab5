#!/usr/bin/env bash
# Builds the library and tests with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# runs the suite (halting on the first report), then gives every fuzz target a short run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Line tables are all a sanitizer report needs; full debug information would double the size of
# every object and link.
debug_flags=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS_DEBUG=-gline-tables-only
    -DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only)
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja "${debug_flags[@]}" \
    -DKW_SANITIZE=ON -DKW_BUILD_FUZZ=ON -DKW_BUILD_BENCH=OFF
cmake --build build-asan
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export SDL_VIDEODRIVER=dummy
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"

# ThreadSanitizer over the tests that run threads, in a small build of only those targets.
threaded=(test_framework_sets_lock_test test_util_threads_test test_util_kw_thread_timer_test)
CC=clang CXX=clang++ cmake -S . -B build-tsan -G Ninja "${debug_flags[@]}" \
    -DKW_SANITIZE_THREAD=ON -DKW_BUILD_FUZZ=OFF -DKW_BUILD_BENCH=OFF
cmake --build build-tsan --target "${threaded[@]}"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
for test in "${threaded[@]}"; do
    echo "== $test (ThreadSanitizer)"
    build-tsan/bin/"$test"
done

# Each target gets a number of runs, capped in time so that slow targets (those that start a
# whole application object per input) cannot stretch the run.
runs=${KW_FUZZ_RUNS:-10000}
seconds=${KW_FUZZ_SECONDS:-10}
for fuzzer in build-asan/bin/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus="fuzz/corpus/${name#fuzz_}"
    work=$(mktemp -d)
    [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
    echo "== $name ($runs runs)"
    "$fuzzer" -runs="$runs" -max_total_time="$seconds" -max_len=4096 "$work" 2>&1 | tail -n 2
    rm -rf "$work"
done
