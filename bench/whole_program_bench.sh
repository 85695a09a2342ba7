#!/usr/bin/env bash
# Whole-program benchmark: marovin end to end on random reversible circuits (X, CNOT, Toffoli,
# multi-controlled NOT) whose mapping holds about the requested numbers of gates. Reports per
# run: wall and CPU (user + system) seconds, peak memory (/usr/bin/time -v), the number of
# rounds (calls of the line reduction over the whole run: pre-synthesis, forward and backward;
# the rules fix it, so it is the same for every build that gives the same output), CPU seconds
# per round, and the growth exponent of CPU time and of memory from the previous size
# (log(t2/t1) / log(n2/n1) in mapped gates: 1.0 is linear). CPU time is the figure to compare
# when the machine is shared.
# Targets: 1,000,000 mapped gates on SC and CTL under 60 s and under 2 GiB. The runs raise the
# program's limit on mapped gates (--max-gates), which the largest sizes pass.
#
# Usage: bench/whole_program_bench.sh [lines] [sizes...]
#   defaults: 32 lines; sizes 10000 100000 300000 1000000. Environment: BENCH_PMDS (default
#   "SC CTL IT"), BENCH_TIMEOUT seconds per run (default 900), BUILD (default ./build-bench),
#   MAROVIN (a marovin binary to measure instead of the one built, e.g. an older build),
#   BENCH_ROUNDS=1 to count the rounds (one more run of each size under gdb, which stops at
#   every round; the count is printed as "-" otherwise).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
lines=${1:-32}
shift || true
sizes=("$@")
(( ${#sizes[@]} )) || sizes=(10000 100000 300000 1000000)
pmds=${BENCH_PMDS:-"SC CTL IT"}
timeout_s=${BENCH_TIMEOUT:-900}
build=$(cd "$root" && realpath -m "${BUILD:-$root/build-bench}")

# A build folder configured before keeps its settings (it needs MAROVIN_BUILD_BENCH=ON).
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMAROVIN_BUILD_BENCH=ON \
    -DMAROVIN_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target marovin whole_program_input >/dev/null
binary=${MAROVIN:-$build/marovin}

work=$(mktemp -d "${TMPDIR:-/tmp}/marovin_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$root"/data/CostGateCount.txt "$root"/data/FT_table.txt "$work"/ 2>/dev/null || true

# Calls of the line reduction in one run, counted by gdb breakpoint hits.
count_rounds() {  # input, pmd
  (cd "$work" && timeout "$timeout_s" gdb -q -batch -ex 'set pagination off' \
    -ex 'break GraphCircuit::reduce1Qgate' -ex 'ignore 1 100000000' -ex run \
    -ex 'info breakpoints' --args "$binary" --max-gates 100000000 "$1" out_rounds.txt "$2" 2>/dev/null |
    awk '/already hit/ {print $4; exit}')
}

growth() {  # value, previous value, size, previous size
  awk -v a="$1" -v b="$2" -v n="$3" -v m="$4" \
    'BEGIN {if (a > 0 && b > 0 && n != m) printf "%.2f", log(a / b) / log(n / m); else printf "-"}'
}

printf '%-4s %9s %9s %9s %9s %9s %7s %9s %8s %8s\n' PMD netlist mapped wall_s cpu_s peak_MiB \
  rounds s/round t_exp m_exp
for pmd in $pmds; do
  prev_t=""; prev_m=""; prev_n=""
  for size in "${sizes[@]}"; do
    input="$work/in_${pmd}_${size}.txt"
    info=$(cd "$work" && "$build/whole_program_input" "$pmd" "$size" "$lines" 1 "$input")
    netlist=$(awk '{print $1}' <<<"$info")
    mapped=$(awk '{print $4}' <<<"$info")
    set +e
    ( cd "$work" && timeout "$timeout_s" /usr/bin/time -v "$binary" --max-gates 100000000 "$input" out.txt "$pmd" \
        >console.txt 2>time.txt )
    status=$?
    set -e
    secs=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,p,":"); s=0; for(i=1;i<=n;i++) s=s*60+p[i]; print s}' "$work/time.txt")
    cpu=$(awk -F': ' '/User time|System time/ {s+=$2} END {printf "%.2f", s}' "$work/time.txt")
    kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    mib=$(awk -v k="${kib:-0}" 'BEGIN {printf "%.0f", k/1024}')
    rounds="-"; per_round="-"
    if [[ "${BENCH_ROUNDS:-0}" == 1 && $status == 0 ]]; then
      rounds=$(count_rounds "$input" "$pmd")
      per_round=$(awk -v t="$cpu" -v r="${rounds:-0}" 'BEGIN {printf (r > 0 ? "%.3f" : "-"), t / r}')
    fi
    tg="-"; mg="-"
    if [[ -n "$prev_t" ]]; then
      tg=$(growth "$cpu" "$prev_t" "$mapped" "$prev_n")
      mg=$(growth "$mib" "$prev_m" "$mapped" "$prev_n")
    fi
    note=""
    (( status == 0 )) || note="  (exit $status$( ((status==124)) && echo ", timed out after ${timeout_s}s"))"
    printf '%-4s %9s %9s %9s %9s %9s %7s %9s %8s %8s%s\n' "$pmd" "$netlist" "$mapped" \
      "${secs:-?}" "$cpu" "$mib" "${rounds:--}" "$per_round" "$tg" "$mg" "$note"
    if (( status == 0 )); then prev_t=$cpu; prev_m=$mib; prev_n=$mapped; fi
  done
done
