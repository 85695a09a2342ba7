#!/usr/bin/env bash
# Set-up and go: installs what is missing, builds everything (the benchmarks too, so that they
# keep building; they are not run here), and runs the whole test suite.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMAROVIN_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"${JOBS:-2}"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j"${JOBS:-2}"
