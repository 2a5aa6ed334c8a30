#!/usr/bin/env bash
# Builds the fuzz targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each for SECONDS (default 15) on a copy of its corpus in fuzz/corpus/,
# so the tree is left as it was. A finding stops the run and its input is kept in build-fuzz/.
# tools/run-fuzzers.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh
zk_install_packages fuzz
seconds="${1:-15}"
shift || true
CC=clang CXX=clang++ zk_build build-fuzz -DZK_FUZZ=ON -DZK_GUI=OFF -DZK_TESTS=OFF -DZK_BENCH=OFF
targets=("$@")
if ((${#targets[@]} == 0)); then
    for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in "${targets[@]}"; do
    mkdir -p "$work/$name"
    cp fuzz/corpus/"$name"/* "$work/$name"/
    echo "fuzz_$name: $seconds s"
    status=0
    (cd build-fuzz && exec ./"fuzz_$name" "$work/$name" -max_total_time="$seconds" -timeout=60 \
        -rss_limit_mb=4096 -print_final_stats=1) >"$work/$name.log" 2>&1 || status=$?
    if ((status != 0)); then
        tail -n 40 "$work/$name.log"
        exit "$status"
    fi
    grep -E '^stat::number_of_executed_units|^Done ' "$work/$name.log" || true
done
