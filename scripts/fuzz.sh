#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets of fuzz/ with clang, libFuzzer and the address and
# undefined-behaviour sanitizers into build-fuzz/, then runs each for the
# given time, two at a time at low priority. Each starts from the committed
# seed corpus (fuzz/corpus/<target>) and grows its own corpus in
# build-fuzz/corpus/<target>; a crash, a leak or a broken promise lands in
# build-fuzz/findings/<target>/ and makes the script fail.
#
#   ./scripts/fuzz.sh [SECONDS [TARGET...]]    default: 600 seconds, every target
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$here/build-fuzz}
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(receive parameterfile tenantfile maskedfield operator session)
jobs=${FUZZ_JOBS:-2}

"$here/scripts/install-deps.sh" clang libclang-rt-dev
(cd "$here" && cmake --preset fuzz -B "$build" >/dev/null)
cmake --build "$build" -j"$jobs" --target "${targets[@]/#/fuzz_}"

# Per-input leak checks would spend most of the time on Qt's caches; the
# leak check at the end of each run still looks at everything.
export LSAN_OPTIONS="suppressions=$here/scripts/lsan-suppressions.txt"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

run() {
    local target=$1
    rm -rf "$build/findings/$target"   # what an earlier run found is in its log
    mkdir -p "$build/corpus/$target" "$build/findings/$target" "$build/fuzz-logs"
    nice -n 19 "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -detect_leaks=0 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target/" \
        "$build/corpus/$target" "$here/fuzz/corpus/$target" \
        >"$build/fuzz-logs/$target.log" 2>&1
}

failed=0
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || failed=1; done
    echo "Fuzzing $target for $seconds s (log: $build/fuzz-logs/$target.log)"
    run "$target" &
done
while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n || failed=1; done

for target in "${targets[@]}"; do
    log=$build/fuzz-logs/$target.log
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n1 || true)
    found=$(find "$build/findings/$target" -type f | wc -l)
    echo "$target: ${runs:-?} runs; ${done_line:-no summary, see the log}; findings: $found"
    [ "$found" -eq 0 ] || failed=1
done
exit $failed
