#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each on its checked-in corpus for KORVEX_FUZZ_SECONDS (default 60), as many at once
# as there are cores. A crash fails the script and prints the input that caused it; copy that
# file into fuzz/corpus/<target>/ once the fault is fixed, so every test run replays it.
#   scripts/fuzz.sh [TARGET...]     (default: every target)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${KORVEX_FUZZ_SECONDS:-60}
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(loader decoder tcache registry session import)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DKORVEX_CORE_ONLY=ON -DKORVEX_FUZZ=ON -DKORVEX_BENCH=OFF -DKORVEX_WERROR=ON \
    "${launcher[@]}" >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Runs one target; its output goes to build/fuzz/run/<target>/log, its exit status to status.
fuzz_one() {
    local target=$1 work=build/fuzz/run/$1 status=0
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/crashes"
    # New inputs go to the scratch corpus; the checked-in one is only read.
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "build/fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -timeout=30 -print_final_stats=1 -artifact_prefix="$work/crashes/" \
        "$work/corpus" "fuzz/corpus/$target" >"$work/log" 2>&1 || status=$?
    echo "$status" >"$work/status"
}

for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
        wait -n || true
    done
    echo "== fuzz_$target for ${seconds}s"
    fuzz_one "$target" &
done
wait

failed=0
for target in "${targets[@]}"; do
    work=build/fuzz/run/$target
    if [ "$(cat "$work/status" 2>/dev/null)" = 0 ]; then
        echo "== fuzz_$target: $(grep -E '^Done [0-9]+ runs' "$work/log" || echo done)"
        continue
    fi
    failed=1
    echo "== fuzz_$target FAILED"
    tail -n 60 "$work/log"
    for input in "$work"/crashes/*; do
        [ -e "$input" ] || continue
        echo "-- reproducer $input ($(stat -c %s "$input") bytes):"
        od -A x -t x1z -v "$input" | head -n 64
        echo "-- replay: build/fuzz/fuzz/fuzz_$target $input"
    done
done
exit $failed
