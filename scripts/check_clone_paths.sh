#!/usr/bin/env bash
# Runs the suite from fresh clones of this repository at checkout paths of many lengths, so that
# a test which reads a path-dependent text (a wrapped message, a buffer of fixed size) shows up
# here rather than in a CI run that happens to clone into a folder of an unlucky length.
#
# Usage: scripts/check_clone_paths.sh [MIN [MAX]]     (path lengths, default 10 to 80)
#
# At every length from MIN to MAX the clone is configured and the tests that run a tool on the
# checkout's own paths (the layer check) are run; at the lengths in FULL (default: MIN and MAX)
# the whole suite is built and run as the README's test command does (FULL="" skips it). The
# clones live under /tmp (or $CLONE_BASE, short enough for MIN) with ../shared linked beside
# each, and are removed afterwards. They hold what is committed, not the working tree's changes.
# Exits 1 when any run fails, naming the lengths.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
min=${1:-10}
max=${2:-80}
full=${FULL-"$min $max"}
base=${CLONE_BASE:-/tmp}
shared=$(cd "$root/../shared" 2>/dev/null && pwd) || shared=""
failed=()
bash "$root/scripts/setup.sh" >/dev/null || exit 1

# make_clone <length>: prints the path of a new clone whose absolute path has that length.
make_clone() {
  local want=$1 parent
  parent=$(mktemp -d "$base/XXX") || return 1
  local prefix="$parent/"
  local pad=$((want - ${#prefix}))
  ((pad >= 1)) || { echo "length $want is shorter than $prefix" >&2; rm -rf "$parent"; return 1; }
  local name
  name=$(printf '%*s' "$pad" '' | tr ' ' 'm')
  git clone -q --no-hardlinks "$root" "$prefix$name" || return 1
  [[ -n "$shared" ]] && ln -s "$shared" "$parent/shared"
  echo "$prefix$name"
}

for ((n = min; n <= max; n++)); do
  clone=$(make_clone "$n") || { failed+=("$n(clone)"); continue; }
  ((${#clone} == n)) || { echo "clone path $clone is not $n long" >&2; failed+=("$n(length)"); }
  if [[ " $full " == *" $n "* ]]; then
    (cd "$clone" && bash scripts/run_tests.sh >"$clone.log" 2>&1) || failed+=("$n(suite)")
  else
    cmake -S "$clone" -B "$clone/build" -DMAROVIN_BUILD_BENCH=OFF >"$clone.log" 2>&1 &&
      ctest --test-dir "$clone/build" -R '^LayerCheck\.' --no-tests=error >>"$clone.log" 2>&1 ||
      failed+=("$n(layers)")
  fi
  [[ " ${failed[*]-} " == *" $n("* ]] && cp "$clone.log" "$base/check_clone_paths.$n.log"
  rm -rf "$(dirname "$clone")"
  printf '.'
done
echo
if ((${#failed[@]})); then
  echo "Failed at path lengths: ${failed[*]} (logs in $base/check_clone_paths.<length>.log)"
  exit 1
fi
echo "Every clone from $min to $max characters passed"
