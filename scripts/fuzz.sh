#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed budget (seconds, default 20)
# from its seed corpus under tests/fuzz/corpus/<target>. Any crash, hang, leak or sanitizer
# report fails the run. Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
budget=${1:-20}
jobs=${JOBS:-$(nproc)}
bash "$root/scripts/setup.sh" --hardening
flags="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer -g -O1"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAROVIN_BUILD_TESTS=OFF \
    -DMAROVIN_BUILD_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j "$jobs"
export MAROVIN_FUZZ_DATA="$root/data"
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for exe in "$build"/fuzz_*; do
    [ -x "$exe" ] || continue
    target=$(basename "$exe")
    target=${target#fuzz_}
    work=$(mktemp -d)
    cp -r "$root/tests/fuzz/corpus/$target/." "$work/" 2>/dev/null || true
    echo "== fuzz $target: ${budget}s"
    if ! "$exe" -max_total_time="$budget" -seed=1 -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="$build/crash-$target-" "$work" \
        > "$build/fuzz-$target.log" 2>&1; then
        echo "fuzz target $target failed; see $build/fuzz-$target.log"
        tail -n 40 "$build/fuzz-$target.log"
        status=1
    fi
    grep -E '^stat::number_of_executed_units' "$build/fuzz-$target.log" || true
    rm -rf "$work"
done
exit $status
