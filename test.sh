#!/usr/bin/env bash
# Installs what is missing, builds both builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh test

echo "== formatting"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

echo "== native build and QuenzelRun's unit tests (both flavours)"
cmake --workflow --preset native

echo "== fuzzing the JSON reader and the option parser (half a minute)"
cmake --workflow --preset fuzz

echo "== the programs for Windows (i686)"
cmake --workflow --preset win32

echo "== the same for x86_64; core and UI unit tests and end-to-end tests under Wine"
cmake --workflow --preset win64
