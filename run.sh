#!/usr/bin/env bash
# Builds the benchmark and runs it under Wine.
#   ./run.sh              DQuenzel.exe, the desktop program
#   ./run.sh --handheld   DQuenzelCE.exe, the handheld program
# On an X display ($DISPLAY) the program runs there, inside a Wine virtual desktop
# of the display's size. Without one it runs the whole sequence on a virtual
# display, pressing F1 on every screen and F2 on the summary, saves a PNG of each
# screen into a folder it prints, and exits with the program's exit code.
set -euo pipefail
cd "$(dirname "$0")"

program=DQuenzel
case "${1:-}" in
"") ;;
--handheld) program=DQuenzelCE ;;
*) echo "usage: $0 [--handheld]" >&2; exit 2 ;;
esac
exe=build/win64/src/$program.exe

scripts/deps.sh run
# The program alone: the tests and QuenzelRun are built by the commands that use them.
[ -f build/win64/build.ninja ] || cmake --preset win64 >/dev/null
cmake --build --preset win64 --target "$program"

if [ -n "${DISPLAY:-}" ]; then
    exec /usr/bin/python3 scripts/winerun.py show "$exe"
fi
out=$(mktemp -d "${TMPDIR:-/tmp}/quenzel-screens.XXXXXX")
echo "screens: $out"
exec /usr/bin/python3 scripts/winerun.py walk "$exe" "$out"
