#!/usr/bin/env bash
# Fuzz campaign: runs every fuzz target for SECONDS seconds from its seed corpus and prints, per
# target, the executions, the rate and the findings (crashes, leaks, timeouts, out-of-memory).
# Findings are kept in build-fuzz/fuzz-findings/, and each target's grown corpus in
# build-fuzz/fuzz-corpus/, so that the next campaign goes on from where this one stopped.
# The campaign has a build of its own, optimised (-O1) under the same sanitizers: unoptimised
# code runs five to ten times fewer inputs in the same time, and the test build stays at -O0
# because it compiles faster.
# Exits 1 when anything was found.
#   scripts/fuzz.sh 600            every target, ten minutes each
#   scripts/fuzz.sh 20 jpeg png    only the named targets
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
build=${KW_FUZZ_BUILD:-build-fuzz}

if [ ! -f "$build/build.ninja" ]; then
    flags="-O1 -gline-tables-only"
    CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_FLAGS_RELWITHDEBINFO="$flags" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" \
        -DKW_SANITIZE=ON -DKW_BUILD_FUZZ=ON -DKW_BUILD_BENCH=OFF -DKW_BUILD_TESTS=OFF >/dev/null
fi
if [ $# -gt 0 ]; then
    targets=("${@/#/fuzz_}")
else
    mapfile -t targets < <(ls fuzz/fuzz_*.cpp | xargs -n1 basename | sed 's/\.cpp$//')
fi
cmake --build "$build" --target "${targets[@]}" -- -j"${KW_FUZZ_JOBS:-2}" >/dev/null || exit 2

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
findings_dir="$build/fuzz-findings"
mkdir -p "$findings_dir"
found_any=0
printf '%-24s %8s %12s %9s %9s\n' target seconds executions "exec/s" findings
for target in "${targets[@]}"; do
    name=${target#fuzz_}
    work="$build/fuzz-corpus/$name"
    stamp=$(mktemp)
    mkdir -p "$work"
    [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name"/. "$work"/
    log="$findings_dir/$target.log"
    "$build/bin/$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings_dir/$target-" \
        "$work" >"$log" 2>&1
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    found=$(find "$findings_dir" -maxdepth 1 -name "$target-*" -newer "$stamp" | wc -l)
    [ "$found" -gt 0 ] && found_any=1
    printf '%-24s %8s %12s %9s %9s\n' "$target" "$seconds" "${runs:-?}" \
        "$(( ${runs:-0} / (seconds > 0 ? seconds : 1) ))" "$found"
    rm -f "$stamp"
done
exit "$found_any"
