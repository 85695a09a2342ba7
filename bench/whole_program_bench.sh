#!/usr/bin/env bash
# Whole-program benchmark: marovin end to end on random reversible circuits (X, CNOT, Toffoli,
# multi-controlled NOT) whose mapping holds about 10,000, 100,000 and 1,000,000 gates, on SC and
# CTL. Reports wall and CPU (user + system) seconds and peak memory (/usr/bin/time -v) per run,
# and the growth of CPU time and memory from one size to the next (n log n growth for a tenfold
# size is about 12x-13x). CPU time is the figure to compare when the machine is shared.
# Targets: 1,000,000 mapped gates end to end under 60 s and under 4 GiB.
#
# Usage: bench/whole_program_bench.sh [lines] [sizes...]
#   defaults: 32 lines; sizes 10000 100000 1000000. Environment: BENCH_PMDS (default "SC CTL"),
#   BENCH_TIMEOUT seconds per run (default 900), BUILD (default ./build-bench).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
lines=${1:-32}
shift || true
sizes=("$@")
(( ${#sizes[@]} )) || sizes=(10000 100000 1000000)
pmds=${BENCH_PMDS:-"SC CTL"}
timeout_s=${BENCH_TIMEOUT:-900}
build=${BUILD:-$root/build-bench}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMAROVIN_BUILD_BENCH=ON \
  -DMAROVIN_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target marovin whole_program_input >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/marovin_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$root"/data/CostGateCount.txt "$root"/data/FT_table.txt "$work"/ 2>/dev/null || true

printf '%-4s %9s %9s %9s %9s %9s %8s %8s\n' PMD netlist mapped wall_s cpu_s peak_MiB t_growth m_growth
for pmd in $pmds; do
  prev_t=""; prev_m=""
  for size in "${sizes[@]}"; do
    input="$work/in_${pmd}_${size}.txt"
    info=$(cd "$work" && "$build/whole_program_input" "$pmd" "$size" "$lines" 1 "$input")
    netlist=$(awk '{print $1}' <<<"$info")
    mapped=$(awk '{print $4}' <<<"$info")
    set +e
    ( cd "$work" && timeout "$timeout_s" /usr/bin/time -v "$build/marovin" "$input" out.txt "$pmd" \
        >console.txt 2>time.txt )
    status=$?
    set -e
    secs=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,p,":"); s=0; for(i=1;i<=n;i++) s=s*60+p[i]; print s}' "$work/time.txt")
    cpu=$(awk -F': ' '/User time|System time/ {s+=$2} END {printf "%.2f", s}' "$work/time.txt")
    kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    mib=$(awk -v k="${kib:-0}" 'BEGIN {printf "%.0f", k/1024}')
    tg="-"; mg="-"
    if [[ -n "$prev_t" ]]; then
      tg=$(awk -v a="$cpu" -v b="$prev_t" 'BEGIN {printf (b>0 ? "%.1fx" : "-"), a/b}')
      mg=$(awk -v a="$mib" -v b="$prev_m" 'BEGIN {printf (b>0 ? "%.1fx" : "-"), a/b}')
    fi
    note=""
    (( status == 0 )) || note="  (exit $status$( ((status==124)) && echo ", timed out after ${timeout_s}s"))"
    printf '%-4s %9s %9s %9s %9s %9s %8s %8s%s\n' "$pmd" "$netlist" "$mapped" "${secs:-?}" \
      "$cpu" "$mib" "$tg" "$mg" "$note"
    prev_t=$cpu; prev_m=$mib
  done
done
