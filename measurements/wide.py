#!/usr/bin/env python3
"""The wide suite under Wine on a virtual 1024 x 768 x 24 display.

    measurements/wide.py EXE CE_EXE PLANTED_EXE time|ab|planted|aa|depths...

- time: a whole wide run with its defaults on the window, EXE and CE_EXE, timed;
- ab: EXE against PLANTED_EXE (EXE's sources with planted.patch: Rectangle.100 draws its
  square twice), --runs 20 alternating (10 a side), off screen 640 x 480, 100 ms windows, --repeat 3;
- planted: ab's two groups offline, the planted build's as the new side;
- aa: the same as ab with a copy of EXE in PLANTED_EXE's place;
- depths: a whole wide run with its defaults off screen at 640 x 480 at each depth,
  EXE and CE_EXE, timed.

Writes wide-*.txt (each table, with the command and its time) and wide/*.json beside
this script."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import winerun  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def run(wine, name, exe, *args):
    began = time.monotonic()
    load = os.getloadavg()[0]
    done = subprocess.run([winerun.WINE, exe, *args], env=wine.env, cwd=os.path.join(HERE, "wide"),
                          capture_output=True, text=True)
    took = time.monotonic() - began
    with open(os.path.join(HERE, f"wide-{name}.txt"), "w") as f:
        f.write(f"$ {os.path.basename(exe)} {' '.join(args)}\n"
                f"exit code {done.returncode}, {took:.0f} s, load {load:.1f} before and "
                f"{os.getloadavg()[0]:.1f} after\n{done.stderr}\n{done.stdout}")
    print(f"{name}: exit code {done.returncode} in {took:.0f} s", flush=True)


def main(argv):
    names = argv[4:]
    if len(argv) < 5 or any(n not in ("time", "ab", "planted", "aa", "depths") for n in names):
        print(__doc__, file=sys.stderr)
        return 2
    exe, ce, planted = (os.path.abspath(a) for a in argv[1:4])
    os.makedirs(os.path.join(HERE, "wide"), exist_ok=True)
    same = os.path.join(tempfile.mkdtemp(), "QuenzelRun.exe")
    shutil.copy(exe, same)
    display, wine = winerun.open_session()
    try:
        pairs = ["--suite", "wide", "--offscreen", "640x480", "--window-ms", "100", "--repeat", "3",
                 "--runs", "20", "--quiet"]
        for name in names:
            if name == "time":
                run(wine, "time", exe, "--suite", "wide", "--quiet", "--json", "time.json")
                run(wine, "time-handheld", ce, "--suite", "wide", "--quiet", "--json",
                    "time-handheld.json")
            elif name == "ab":
                run(wine, "ab", exe, *pairs, "--alternate", planted, "--json", "ab.json", "--svg",
                    "ab.svg", "--fail-picture")
            elif name == "planted":
                run(wine, "planted", exe, "--from", "ab-other.json", "--compare", "ab.json")
            elif name == "aa":
                run(wine, "aa", exe, *pairs, "--alternate", same, "--json", "aa.json")
            else:
                with open(os.path.join(HERE, "wide-depths.txt"), "w") as f:
                    for flavour, program in (("desktop", exe), ("handheld", ce)):
                        for depth in (1, 8, 16, 24, 32):
                            began = time.monotonic()
                            done = subprocess.run(
                                [winerun.WINE, program, "--suite", "wide", "--offscreen",
                                 f"640x480x{depth}", "--quiet"], env=wine.env,
                                capture_output=True, text=True)
                            tests = len(re.findall(r"^\S+ +\d+ +\d+ +\d+ ", done.stdout, re.M))
                            f.write(f"{flavour} 640x480x{depth}: exit code {done.returncode}, "
                                    f"{tests} tests in {time.monotonic() - began:.0f} s\n")
                            f.flush()
    finally:
        wine.close()
        display.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
