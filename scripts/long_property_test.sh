#!/usr/bin/env bash
# Long run of the whole-program property test: many random netlists of every keyword on every
# machine description, each run through the marovin executable and compared, by unitary up to a
# global phase, with its output file. Failing netlists are shrunk and written to
# <build>/testrun/failed_e2e_<PMD>_<seed>.txt.
#
# Usage: scripts/long_property_test.sh [circuits-per-description] [seed] [max-gates] [build-dir]
#   defaults: 2000 circuits, seed 1, up to 30 gate lines, build directory ./build (built with
#   -j2 if needed).
set -euo pipefail

circuits=${1:-2000}
seed=${2:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
gates=${3:-30}
build=${4:-$root/build}

if [[ ! -x "$build/test_e2e" ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j2 --target marovin test_e2e >/dev/null

mkdir -p "$build/testrun"
cd "$build/testrun"
echo "whole-program property test: $circuits circuits per description of up to $gates gates," \
  "seed base $seed"
# Each description runs in its own process so that two cores are kept busy.
status=0
pids=()
for pmd in QD SC IT NA LP NP CTL FTS; do
  MAROVIN_E2E_CIRCUITS=$circuits MAROVIN_E2E_SEED=$((seed * 1000000)) MAROVIN_E2E_GATES=$gates \
    "$build/test_e2e" --gtest_filter="*WholeProgram*/${pmd}_*" >"long_e2e_$pmd.log" 2>&1 &
  pids+=($!)
  if (( ${#pids[@]} == 2 )); then
    for p in "${pids[@]}"; do wait "$p" || status=1; done
    pids=()
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done

for pmd in QD SC IT NA LP NP CTL FTS; do
  printf '%-4s ' "$pmd"
  grep -E '^\[  (PASSED|FAILED|SKIPPED) *\] [0-9]' "long_e2e_$pmd.log" | head -1 || echo "(no result)"
done
if (( status != 0 )); then
  echo "failures: see $build/testrun/long_e2e_<PMD>.log and failed_e2e_*.txt"
fi
exit $status
