#!/usr/bin/env bash
# Optimisation levels compared (--optimise 1 against 2):
#  1. T count (T and T_dag lines of the output) and two-qubit count (CNOT, CZ, SWAP, CP, GEO,
#     ISWAP, ZENO, ZENO_dag lines) of every circuit of ../shared/bench/qc and ../shared/bench/qasm
#     through the fault-tolerant road, `marovin [--optimise 2] X.txt out.txt CTL 0.01`, beside
#     the best published figures (T; two-qubit) for the arithmetic circuits;
#  2. the time of the level-2 passes alone on generated circuits up to 1,000,000 gates
#     (phase_passes_bench);
#  3. the operation counts after synthesis (no threshold) of every circuit of ../shared/bench
#     on every description, summed per description, from `marovin compare [--optimise 2]` (a
#     circuit counts when both levels finish within TIMEOUT).
#
# Usage: bench/optimise_bench.sh [parts]   (parts: any of 1 2 3; default all)
# Environment: BUILD (default ./build-bench, configured with MAROVIN_BUILD_BENCH=ON),
# SHARED (default ../shared/bench beside the source tree), TIMEOUT seconds per run (600).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
parts=${*:-"1 2 3"}
build=$(realpath -m "${BUILD:-$root/build-bench}")
shared=${SHARED:-}
if [[ -z "$shared" ]]; then
  for candidate in "$root/../shared/bench" "$root/../../shared/bench"; do
    [[ -d "$candidate" ]] && shared=$(cd "$candidate" && pwd) && break
  done
fi
[[ -d "$shared" ]] || { echo "no shared benchmark folder (set SHARED)" >&2; exit 1; }
timeout_s=${TIMEOUT:-600}

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMAROVIN_BUILD_BENCH=ON >/dev/null
fi
cmake --build "$build" -j2 --target marovin phase_passes_bench >/dev/null
marovin=$build/marovin

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$root/data/CostGateCount.txt" "$root/data/FT_table.txt" "$work/"
cd "$work"

# Best published T and two-qubit counts (and T by phase folding where it differs).
declare -A published=(
  [adder_8]="173 (215); 291" [barenco_tof_3]="16; 18" [barenco_tof_4]="28; 34"
  [csla_mux_3]="62; 70" [gf2pow4_mult]="68; 99" [gf2pow6_mult]="150; 221"
  [mod5_4]="8 (16); 27" [qft_4]="67; 45" [rc_adder_6]="47; 71" [tof_3]="15; 14"
  [tof_4]="23; 22" [vbe_adder_3]="24; 50")

t_count() { grep -cE '^(T|T_dag) ' "$1" || true; }
two_qubit_count() { grep -cE '^(CNOT|CZ|SWAP|CP|GEO|ISWAP|ZENO|ZENO_dag) ' "$1" || true; }

if [[ " $parts " == *" 1 "* ]]; then
  echo "1. Through CTL 0.01: T and two-qubit counts, --optimise 1 -> 2"
  printf '| %-17s | %7s | %7s | %7s | %7s | %-18s |\n' circuit "T 1" "T 2" "2q 1" "2q 2" \
    "published T; 2q"
  printf '|%s|%s|%s|%s|%s|%s|\n' ------------------- --------- --------- --------- --------- \
    --------------------
  declare -A total=()
  for file in "$shared"/qc/*.txt "$shared"/qasm/*.txt; do
    name=$(basename "$file" .txt)
    cp "$file" in.txt
    figures=()
    for level in 1 2; do
      if timeout "$timeout_s" "$marovin" --optimise "$level" in.txt out.txt CTL 0.01 \
        >console.txt 2>&1; then
        figures+=("$(t_count out.txt)" "$(two_qubit_count out.txt)")
      else
        figures+=(failed failed)
      fi
    done
    printf '| %-17s | %7s | %7s | %7s | %7s | %-18s |\n' "$name" "${figures[0]}" "${figures[2]}" \
      "${figures[1]}" "${figures[3]}" "${published[$name]:-}"
    if [[ -n "${published[$name]:-}" ]]; then
      for i in 0 1 2 3; do total[$i]=$(( ${total[$i]:-0} + ${figures[$i]} )); done
    fi
  done
  printf '| %-17s | %7s | %7s | %7s | %7s | %-18s |\n' "total (table)" "${total[0]}" \
    "${total[2]}" "${total[1]}" "${total[3]}" "681; 962"
  echo
fi

if [[ " $parts " == *" 2 "* ]]; then
  echo "2. The level-2 passes alone on generated Clifford+T circuits"
  "$build/phase_passes_bench"
  echo
fi

if [[ " $parts " == *" 3 "* ]]; then
  echo "3. Operations after synthesis (no threshold), summed over ../shared/bench, level 1 -> 2"
  declare -A ops=()
  pmds=(QD SC IT NA LP NP CTL FTS)
  skipped=()
  for file in "$shared"/qc/*.txt "$shared"/qasm/*.txt "$shared"/real/*.txt; do
    cp "$file" in.txt
    # A circuit counts only when both levels finish on every description.
    rm -f level1.csv level2.csv
    for level in 1 2; do
      timeout "$timeout_s" "$marovin" compare --optimise "$level" --csv "level$level.csv" in.txt \
        >/dev/null 2>&1 || rm -f "level$level.csv"
    done
    if [[ ! -f level1.csv || ! -f level2.csv ]]; then
      skipped+=("$(basename "$file")")
      continue
    fi
    for level in 1 2; do
      # Columns: description, ops_before, ops_after, ...
      while IFS=, read -r pmd _ after _; do
        [[ "$pmd" == description ]] && continue
        ops[$pmd,$level]=$(awk -v a="${ops[$pmd,$level]:-0}" -v b="$after" 'BEGIN{print a+b}')
      done <"level$level.csv"
    done
  done
  printf '| %-11s | %12s | %12s | %7s |\n' description "ops level 1" "ops level 2" change
  printf '|%s|%s|%s|%s|\n' ------------- -------------- -------------- ---------
  for pmd in "${pmds[@]}"; do
    a=${ops[$pmd,1]:-0}
    b=${ops[$pmd,2]:-0}
    printf '| %-11s | %12s | %12s | %6s%% |\n' "$pmd" "$a" "$b" \
      "$(awk -v a="$a" -v b="$b" 'BEGIN{ if (a > 0) printf "%+.1f", 100*(b-a)/a; else print "-" }')"
  done
  (( ${#skipped[@]} == 0 )) || echo "not counted (a run failed or took longer than ${timeout_s} s): ${skipped[*]}"
fi
