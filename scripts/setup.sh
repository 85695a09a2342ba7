#!/usr/bin/env bash
# Installs, with apt-get, what building and testing Marovin needs (clang-format-14 for
# scripts/check_format.sh), and only what is missing.
# Safe to run any number of times. Uses sudo only when not run as root.
# With --hardening it also installs clang 14 and its sanitizer and fuzzer runtimes, which the
# sanitizer build (scripts/sanitize.sh) and the fuzz targets (scripts/fuzz.sh) need.
set -euo pipefail

packages=(cmake make g++ libboost-graph-dev libgtest-dev libbenchmark-dev clang-format-14)
if [[ "${1:-}" == "--hardening" ]]; then packages+=(clang-14 libclang-rt-14-dev); fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "setup: every package is installed"
  exit 0
fi

sudo_cmd=()
if [[ "$(id -u)" -ne 0 ]]; then sudo_cmd=(sudo); fi
echo "setup: installing ${missing[*]}"
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  "${missing[@]}"
