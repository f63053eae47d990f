#!/usr/bin/env bash
# Runs every fuzz target found in a fuzz build folder for a bounded time each, seeded from
# fuzz/seeds/<target>/ when that folder exists. Fails on the first crash.
set -euo pipefail
build=${1:-build/fuzz}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
found=0
for target in "$build"/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    found=1
    name=$(basename "$target")
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    seeds=()
    [ -d "$root/fuzz/seeds/$name" ] && seeds+=("$root/fuzz/seeds/$name")
    echo "-- $name for ${seconds}s"
    log="$build/$name.log"
    if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$build/" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz target $name failed"
        exit 1
    fi
    tail -n 12 "$log"
done
[ "$found" -eq 1 ] || echo "no fuzz targets built"
