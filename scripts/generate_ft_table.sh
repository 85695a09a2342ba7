#!/usr/bin/env bash
# Regenerates data/FT_table.txt, the shipped sequence cache, with the program's own search.
#
# Usage: scripts/generate_ft_table.sh [threshold...]      (default: 0.01 0.001)
#
# 1. Runs marovin on every example under examples/ for the CTL and SC descriptions (with the
#    fast Solovay-Kitaev mode, only to obtain FT_before_converted.txt, the circuit just before
#    conversion, which does not depend on the threshold or the mode).
# 2. Runs bench/ft_table_generator on those circuits: the exhaustive search at each threshold,
#    coarsest first, entries per angle from the coarsest to the finest distance.
# 3. Checks that the examples then convert every single rotation from the cache.
# Needs a build with -DMAROVIN_BUILD_BENCH=ON in build-bench/ (made here if missing).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD:-$root/build-bench}"
if [[ $# -eq 0 ]]; then set -- 0.01 0.001; fi

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

"$build/ft_table_generator" "$root/data/FT_table.txt" "$@" -- "${circuits[@]}" >/dev/null

cp "$root/data/FT_table.txt" FT_table.txt
for example in "$root"/examples/*.txt; do
    name=$(basename "$example" .txt)
    [[ $name == CostGateCount || $name == FT_table ]] && continue
    for pmd in CTL SC; do
        for threshold in "$@"; do
            searches=$("$build/marovin" "$example" out.txt "$pmd" "$threshold" 0 |
                grep -c 'Cache miss! Do Brask' || true)
            echo "$name $pmd $threshold: single-rotation searches left: $searches"
        done
    done
done
