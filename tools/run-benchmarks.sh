#!/usr/bin/env bash
# Runs every benchmark program of a build (make bench). Generated data goes to
# VASK_BENCH_DIR (default: the system's temporary folder).
set -euo pipefail
bin=${1:-build/default/bin}
for program in "$bin"/bench_*; do
    [ -x "$program" ] || continue
    echo "== $(basename "$program")"
    "$program"
    echo
done
