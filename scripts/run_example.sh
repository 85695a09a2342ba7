#!/usr/bin/env bash
# Set-up and go: installs what is missing, builds marovin, and synthesises a shipped example.
#
# Usage: scripts/run_example.sh [example [PMD [threshold [ft_mode [code [level]]]]]]
#   defaults: qft4.txt SC. The example is a file name under examples/; the program runs there,
#   next to the data files, and writes its result to build/<example>_out.txt.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
example=${1:-qft4.txt}
shift || true
if [[ $# -eq 0 ]]; then set -- SC; fi

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target marovin

output="$build/${example%.txt}_out.txt"
cd "$root/examples"
"$build/marovin" "$example" "$output" "$@"
echo "result written to $output"
