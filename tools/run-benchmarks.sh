#!/usr/bin/env bash
# make bench: builds the benchmarks in release mode (preset "bench"), runs every one
# (each generates its own data under VASK_BENCH_DIR, default the system's temporary
# folder) and prints one table: operation, input, time, peak resident memory, the
# baseline tool run on the same data in the same run, time / baseline time, time / the
# time cat takes to read the same input, and each row's target and whether it is met.
# Each benchmark's own report is kept in build/bench/bench.log.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
bin=build/bench/bin
log=build/bench/bench.log
: > "$log"
status=0
for program in "$bin"/bench_*; do
    [ -x "$program" ] || continue
    name=$(basename "$program")
    echo "running $name ..." >&2
    echo "== $name" >> "$log"
    if ! "$program" >> "$log" 2>&1; then
        echo "$name: a target was not met or the run failed (see $log)" >&2
        status=1
    fi
done
printf '\n'
awk -F'\t' '
    BEGIN { cols = split("operation|input|time|peak RSS|baseline|baseline time|ratio|ratio to cat|target|met", head, "|") }
    $1 == "@row" { n++; for (i = 2; i <= NF; i++) cell[n, i - 1] = $i }
    END {
        for (c = 1; c <= cols; c++) { width[c] = length(head[c]) }
        for (r = 1; r <= n; r++) for (c = 1; c <= cols; c++) if (length(cell[r, c]) > width[c]) width[c] = length(cell[r, c])
        line = ""
        for (c = 1; c <= cols; c++) line = line sprintf("| %-" width[c] "s ", head[c])
        print line "|"
        line = ""
        for (c = 1; c <= cols; c++) { dash = ""; for (k = 0; k < width[c]; k++) dash = dash "-"; line = line "|-" dash "-" }
        print line "|"
        for (r = 1; r <= n; r++) {
            line = ""
            for (c = 1; c <= cols; c++) line = line sprintf("| %-" width[c] "s ", cell[r, c])
            print line "|"
        }
    }' "$log"
printf '\nratio = time / baseline time (below 1.00: faster than the baseline); ratio to cat = time / the time cat\n'
printf 'takes to read the same input (the floor). Machine load when the table was made: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
grep -iE 'NOT met|per-line cost' "$log" | grep -v '^@row' | sed 's/^ */  /' || true
exit $status
