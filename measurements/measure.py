#!/usr/bin/env python3
"""Measures the harness's ceiling under Wine on a virtual 1024 x 768 x 24 display, with
QuenzelRun.exe pinned to logical processor 0: --raw --repeat 5 on the window, each
sample's calls replayed with only the platform calls timed.

    measurements/measure.py EXE

Writes ceiling.json (the run) and ceiling.txt (its table) beside this script."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import winerun  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    display, wine = winerun.open_session()
    try:
        run = subprocess.run([winerun.WINE, os.path.abspath(argv[1]), "--raw", "--repeat", "5",
                              "--affinity", "0", "--quiet", "--json", "ceiling.json"],
                             env=wine.env, cwd=HERE, capture_output=True, text=True)
    finally:
        wine.close()
        display.close()
    if run.returncode != 0:
        print(f"QuenzelRun: exit code {run.returncode}: {run.stderr}", file=sys.stderr)
        return 1
    with open(os.path.join(HERE, "ceiling.txt"), "w") as f:
        f.write(run.stdout)
    print(run.stdout, end="")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
