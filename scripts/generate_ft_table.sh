#!/usr/bin/env bash
# Regenerates data/FT_table.txt, the shipped sequence cache, with the program's own search.
#
# Usage: scripts/generate_ft_table.sh [--grid] [threshold...]      (default: 0.01 0.001)
#
# --grid fills the cache with the number-theoretic synthesis instead of the exhaustive search:
# any threshold down to 1e-20, in seconds (e.g. --grid 1e-6 1e-10 1e-15). OUT=<file> writes the
# cache there instead of data/FT_table.txt.
#
# 1. Runs marovin on every example under examples/ for the CTL and SC descriptions (with the
#    fast Solovay-Kitaev mode, only to obtain FT_before_converted.txt, the circuit just before
#    conversion, which does not depend on the threshold or the mode).
# 2. Runs bench/ft_table_generator on those circuits: the exhaustive search (or the grid method)
#    at each threshold, coarsest first, entries per angle from the coarsest to the finest
#    distance.
# 3. Checks that the examples then convert every single rotation from the cache.
# Needs a build with -DMAROVIN_BUILD_BENCH=ON in build-bench/ (made here if missing).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD:-$root/build-bench}"
method=()
mode=0
miss='Cache miss! Do Brask'
if [[ ${1:-} == --grid ]]; then
    method=(--grid)
    mode=grid
    miss='Cache miss! Do number-theoretic'
    shift
fi
if [[ $# -eq 0 ]]; then set -- 0.01 0.001; fi
out="${OUT:-$root/data/FT_table.txt}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMAROVIN_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target marovin ft_table_generator

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/data/CostGateCount.txt" "$work/"
printf '# empty cache\n' >"$work/FT_table.txt"
cd "$work"
circuits=()
for example in "$root"/examples/*.txt; do
    name=$(basename "$example" .txt)
    [[ $name == CostGateCount || $name == FT_table ]] && continue
    for pmd in CTL SC; do
        "$build/marovin" "$example" out.txt "$pmd" 0.5 1 >/dev/null
        cp FT_before_converted.txt "before_${name}_${pmd}.txt"
        circuits+=("before_${name}_${pmd}.txt")
    done
done

"$build/ft_table_generator" "${method[@]}" "$out" "$@" -- "${circuits[@]}" >/dev/null

cp "$out" FT_table.txt
for example in "$root"/examples/*.txt; do
    name=$(basename "$example" .txt)
    [[ $name == CostGateCount || $name == FT_table ]] && continue
    for pmd in CTL SC; do
        for threshold in "$@"; do
            searches=$("$build/marovin" "$example" out.txt "$pmd" "$threshold" "$mode" |
                grep -c "$miss" || true)
            echo "$name $pmd $threshold: single-rotation searches left: $searches"
        done
    done
done
