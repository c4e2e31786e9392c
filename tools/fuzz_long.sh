#!/bin/sh
# Runs every fuzz target for SECONDS (default 600) and merges what it
# found into the target's corpus in the repository, minimised:
#   tools/fuzz_long.sh [SECONDS]
# Builds build-fuzz with clang first (as ./x fuzz does). A finding stops
# the run and leaves the input in build-fuzz/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
fuzz_build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz_build" -G Ninja -DQASP_FUZZ=ON -DQASP_WITH_GUI=OFF \
    -DQASP_WITH_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$fuzz_build"
for target in $(grep -E '^[a-z_]+$' "$root/fuzz/targets.txt"); do
    found=$(mktemp -d)
    corpus="$root/fuzz/corpus/$target"
    echo "== $target: ${seconds}s"
    "$fuzz_build/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$fuzz_build/" "$found" "$corpus" 2>"$found.log" || {
        tail -40 "$found.log" >&2
        exit 1
    }
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$found.log"
    # Keep only inputs that add coverage.
    merged=$(mktemp -d)
    "$fuzz_build/fuzz/${target}_fuzz" -merge=1 "$merged" "$corpus" "$found" 2>/dev/null
    rm -rf "$corpus" "$found" "$found.log"
    mv "$merged" "$corpus"
    echo "   corpus: $(ls "$corpus" | wc -l) inputs"
done
