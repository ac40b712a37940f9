#!/usr/bin/env bash
# Installs what is missing, builds both builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh test

echo "== formatting"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# The i686 programs run nowhere here: their build takes what processor time the other
# stages leave (the lowest priority), beside them, and is reported at the end.
# A process group of its own (job control), but the same session: the kernel weighs
# the priority of processes within a session.
mkdir -p build
set -m
nice -n 19 cmake --workflow --preset win32 > build/win32.log 2>&1 &
win32=$!
set +m
trap 'kill -- -$win32 2>/dev/null || true' EXIT

echo "== native build: QuenzelRun's unit tests, and fuzzing the JSON reader and the option parser"
cmake --workflow --preset native

echo "== x86_64: core and UI unit tests and end-to-end tests under Wine"
cmake --workflow --preset win64

echo "== the programs for Windows (i686) and their zip"
status=0
wait $win32 || status=$?
cat build/win32.log
exit $status
