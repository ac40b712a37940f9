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

exe=build/win64/src/DQuenzel.exe
case "${1:-}" in
"") ;;
--handheld) exe=build/win64/src/DQuenzelCE.exe ;;
*) echo "usage: $0 [--handheld]" >&2; exit 2 ;;
esac

scripts/deps.sh run
cmake --preset win64 >/dev/null
cmake --build --preset win64

if [ -n "${DISPLAY:-}" ]; then
    exec /usr/bin/python3 scripts/winerun.py show "$exe"
fi
out=$(mktemp -d "${TMPDIR:-/tmp}/quenzel-screens.XXXXXX")
echo "screens: $out"
exec /usr/bin/python3 scripts/winerun.py walk "$exe" "$out"
