#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang, libFuzzer, address and undefined-behaviour
# sanitizers) and runs each on a copy of its seed corpus (tests/fuzz/corpus/<name>).
#
#   tools/run-fuzz.sh SECONDS [NAME...]
#
# SECONDS is the time each target runs (default 60); NAMEs pick targets (default: all).
# Environment: FUZZ_RUNS stops a target after that many executions instead (SECONDS still
# bounds it), FUZZ_JOBS runs that many targets at a time (default 1), FUZZ_MAX_LEN is the
# longest input (default 4096), FUZZ_KEEP=1 keeps the grown corpora for the next run.
# Prints one line per target (executions from libFuzzer's final stats, and the result)
# and fails when any target reports a finding; the input that caused it is kept in
# build/fuzz/runs/<name>/ for a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
jobs=${FUZZ_JOBS:-1}
max_len=${FUZZ_MAX_LEN:-4096}
runs_dir=build/fuzz/runs

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for corpus in tests/fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi

# The fuzz targets write their files under here; gone when the script ends.
scratch=$(mktemp -d /dev/shm/vask-fuzz-run.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT

run_target() {
    local name=$1
    local dir=$runs_dir/$name
    [ "${FUZZ_KEEP:-0}" = 1 ] || rm -rf "$dir"
    mkdir -p "$dir/corpus"
    rm -f "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-* "$dir/result"
    cp tests/fuzz/corpus/"$name"/* "$dir/corpus/"
    local limits=(-max_total_time="$seconds")
    [ -n "${FUZZ_RUNS:-}" ] && limits+=(-runs="$FUZZ_RUNS")
    local status=0
    VASK_FUZZ_SCRATCH=$scratch build/fuzz/bin/"${name}_fuzz" "${limits[@]}" -max_len="$max_len" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$dir/" "$dir/corpus" >"$dir/log" 2>&1 || status=$?
    local executions
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
    local result=ok
    local artifact
    artifact=$(ls "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-* 2>/dev/null | head -1 || true)
    if [ -n "$artifact" ]; then
        result="FINDING $artifact"
    elif [ "$status" -ne 0 ]; then
        result="FAILED (exit $status, see $dir/log)"
    fi
    printf '%s\t%s\t%s\n' "$name" "${executions:-?}" "$result" >"$dir/result"
}

for name in "${targets[@]}"; do
    [ -d "tests/fuzz/corpus/$name" ] || { echo "no fuzz target $name" >&2; exit 2; }
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
    run_target "$name" &
done
wait

failed=0
printf '\n%-20s %12s  %s\n' target executions result
for name in "${targets[@]}"; do
    IFS=$'\t' read -r target executions result <"$runs_dir/$name/result"
    printf '%-20s %12s  %s\n' "$target" "$executions" "$result"
    [ "$result" = ok ] || failed=1
done
exit $failed
