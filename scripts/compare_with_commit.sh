#!/usr/bin/env bash
# Runs this tree's marovin and the marovin of another commit on the same circuits and reports
# every byte difference in what they write: the output netlist, FT_before_converted.txt,
# ft_angle_analysis.txt and the console report (standard output and error, without the
# " ***Synthesis Time=" line). Prints both run times side by side and a summary; exits 1 when
# anything differs (or a run fails differently), 0 when every case is identical.
#
# Usage: scripts/compare_with_commit.sh [--reference-only] <commit>
#
# The commit is checked out in a worktree beside this one (../compare-<hash>, or $REF_TREE) and
# built there in its own build folder. Its results are cached per case under
# ../compare-<hash>-out (or $REF_OUT), so a second comparison against the same commit only runs
# this tree; --reference-only fills that cache and compares nothing (useful to start the slow
# reference runs early).
#
# Environment (all optional):
#   CIRCUITS    netlist files to run (default: every *.txt under ../shared/bench, README aside)
#   PMDS        descriptions (default: "QD SC IT NA LP NP CTL FTS")
#   ARGSETS     ';'-separated argument tails after "in out PMD" (default: " ;0.01 0": no
#               threshold, and threshold 0.01 with the exhaustive search)
#   BUILD       this tree's build folder (default: ./build; marovin is built there)
#   TIMEOUT     seconds per run (default 1800); a case whose reference run timed out is listed
#               as not compared, one where only this tree's run timed out as a difference
#   DATA        folder holding CostGateCount.txt and FT_table.txt (default: ./data)
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
reference_only=0
if [[ "${1:-}" == "--reference-only" ]]; then
  reference_only=1
  shift
fi
if (( $# != 1 )); then
  echo "Usage: $0 [--reference-only] <commit>" >&2
  exit 2
fi
commit=$(git -C "$root" rev-parse --verify "$1^{commit}") || { echo "Unknown commit: $1" >&2; exit 2; }
short=${commit:0:10}
ref_tree=${REF_TREE:-$root/../compare-$short}
ref_out=${REF_OUT:-$root/../compare-$short-out}
build=${BUILD:-$root/build}
data=${DATA:-$root/data}
timeout_s=${TIMEOUT:-1800}
pmds=${PMDS:-"QD SC IT NA LP NP CTL FTS"}
argsets=${ARGSETS:-" ;0.01 0"}
if [[ -n "${CIRCUITS:-}" ]]; then
  read -r -a circuits <<<"$CIRCUITS"
else
  mapfile -t circuits < <(find "$root/../shared/bench" -name '*.txt' ! -name README.md | sort)
fi
(( ${#circuits[@]} )) || { echo "No circuits to run" >&2; exit 2; }

# Builds marovin in a build folder; a folder configured before keeps its settings (so this
# tree's test and benchmark options stay as they are), a new one is configured for release
# without tests (as is one whose configuring failed half-way, which has a cache and no Makefile).
build_marovin() {  # folder, build folder
  if [[ ! -f "$2/CMakeCache.txt" || ! -f "$2/Makefile" ]]; then
    cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DMAROVIN_BUILD_TESTS=OFF >/dev/null || return 1
  fi
  cmake --build "$2" -j2 --target marovin >/dev/null
}

if [[ ! -d "$ref_tree" ]]; then
  git -C "$root" worktree add --detach "$ref_tree" "$commit" >/dev/null || exit 2
fi
[[ "$(git -C "$ref_tree" rev-parse HEAD)" == "$commit" ]] ||
  { echo "$ref_tree does not hold $commit" >&2; exit 2; }
build_marovin "$ref_tree" "$ref_tree/build" || { echo "Building $short failed" >&2; exit 2; }
ref_bin=$ref_tree/build/marovin
if (( ! reference_only )); then
  build_marovin "$root" "$build" || { echo "Building this tree failed" >&2; exit 2; }
fi
new_bin=$build/marovin

scratch=$(mktemp -d "${TMPDIR:-/tmp}/marovin_compare.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$ref_out"

# Runs one case with a binary; leaves out.txt, FT_before_converted.txt, ft_angle_analysis.txt,
# console.txt (time line removed), status and seconds in the result folder.
run_case() {  # binary, circuit, pmd, argument tail, result folder
  local bin=$1 circuit=$2 pmd=$3 tail=$4 result=$5 work=$scratch/work
  rm -rf "$work" "$result.partial"
  mkdir -p "$work" "$result.partial"
  cp "$data/CostGateCount.txt" "$data/FT_table.txt" "$work/"
  cp "$circuit" "$work/in.txt"
  [[ -f "$circuit.layout" ]] && cp "$circuit.layout" "$work/in.txt.layout"
  local start end status
  start=$(date +%s.%N)
  # shellcheck disable=SC2086  # the argument tail is split on purpose
  (cd "$work" && timeout "$timeout_s" "$bin" in.txt out.txt "$pmd" $tail >console.raw 2>&1)
  status=$?
  end=$(date +%s.%N)
  grep -v '^ \*\*\*Synthesis Time=' "$work/console.raw" >"$result.partial/console.txt"
  for f in out.txt FT_before_converted.txt ft_angle_analysis.txt; do
    if [[ -f "$work/$f" ]]; then cp "$work/$f" "$result.partial/$f"; else echo "(none)" >"$result.partial/$f.missing"; fi
  done
  echo "$status" >"$result.partial/status"
  awk -v a="$start" -v b="$end" 'BEGIN {printf "%.2f\n", b - a}' >"$result.partial/seconds"
  rm -rf "$result"
  mv "$result.partial" "$result"
}

case_name() {  # circuit, pmd, argument tail
  local base
  base=$(basename "$(dirname "$1")")_$(basename "$1" .txt)
  echo "${base}_$2_$(tr ' ' '_' <<<"${3## }" | sed 's/^$/none/;s/_*$//')"
}

differences=0
cases=0
skipped=0
printf '%-44s %9s %9s  %s\n' case ref_s new_s result
IFS=';' read -r -a tails <<<"$argsets"
for circuit in "${circuits[@]}"; do
  for pmd in $pmds; do
    for tail in "${tails[@]}"; do
      name=$(case_name "$circuit" "$pmd" "$tail")
      ref_result=$ref_out/$name
      # Cached reference results stay valid while the binary they came from is the same.
      if [[ ! -f "$ref_result/status" || "$ref_result/binary" -ot "$ref_bin" ]]; then
        run_case "$ref_bin" "$circuit" "$pmd" "$tail" "$ref_result"
        touch "$ref_result/binary"
      fi
      if (( reference_only )); then
        printf '%-44s %9s %9s  %s\n' "$name" "$(cat "$ref_result/seconds")" - "status $(cat "$ref_result/status")"
        continue
      fi
      if [[ "$(cat "$ref_result/status")" == 124 ]]; then
        # Nothing complete to compare with: counted apart, not as a difference.
        skipped=$((skipped + 1))
        printf '%-44s %9s %9s  %s\n' "$name" ">$timeout_s" - "not compared (reference timed out)"
        continue
      fi
      cases=$((cases + 1))
      new_result=$scratch/new_$name
      run_case "$new_bin" "$circuit" "$pmd" "$tail" "$new_result"
      verdict=same
      for f in status console.txt out.txt FT_before_converted.txt ft_angle_analysis.txt \
               out.txt.missing FT_before_converted.txt.missing ft_angle_analysis.txt.missing; do
        if [[ -f "$ref_result/$f" || -f "$new_result/$f" ]]; then
          if ! cmp -s "$ref_result/$f" "$new_result/$f"; then
            verdict="DIFFERS in ${f%.missing}"
            break
          fi
        fi
      done
      [[ "$(cat "$new_result/status")" == 124 ]] && verdict="$verdict (timed out)"
      [[ "$verdict" == same ]] || differences=$((differences + 1))
      printf '%-44s %9s %9s  %s\n' "$name" "$(cat "$ref_result/seconds")" \
        "$(cat "$new_result/seconds")" "$verdict"
      rm -rf "$new_result"
    done
  done
done
(( reference_only )) && exit 0
echo "cases: $cases, differing: $differences, not compared: $skipped (reference $short)"
(( differences == 0 ))
