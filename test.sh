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

echo "== Win32 cross build; core and UI unit tests and end-to-end tests under Wine"
cmake --workflow --preset win32
