#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12; safe to run again.
# Usage: scripts/deps.sh [build|test|run]
set -euo pipefail
what=${1:-test}

# MinGW-w64 for both: i686 makes the programs for Windows, x86_64 what runs under Wine here.
pkgs=(cmake ninja-build g++ g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64
  binutils-mingw-w64-x86-64)
# Header-only libraries that every build compiles in: options, JSON and PNG files.
pkgs+=(libcli11-dev nlohmann-json3-dev libstb-dev)
# 64-bit Wine, a virtual X display and what drives and watches it.
gui=(wine wine64 xvfb xdotool x11-utils imagemagick python3 python3-pil)
case "$what" in
build) ;;
# compare.py of the micro-benchmark tools (and SciPy for its U test) reads QuenzelRun's runs.
# clang with its runtime libraries (libFuzzer) for the fuzz targets.
test) pkgs+=(libgtest-dev clang-format clang libclang-rt-14-dev libbenchmark-tools python3-scipy "${gui[@]}") ;;
run) pkgs+=("${gui[@]}") ;;
*) echo "usage: $0 [build|test|run]" >&2; exit 2 ;;
esac

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "$0: run as root or install sudo" >&2; exit 1; }
  sudo=sudo
fi

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
