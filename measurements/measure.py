#!/usr/bin/env python3
"""Makes the measurements README reports, under Wine on a virtual 1024 x 768 x 24 display,
with QuenzelRun.exe pinned to logical processor 0:

    measurements/measure.py EXE aa|ab|ceiling...

  aa       two back-to-back runs of the same build off screen, --repeat 9, the second
           compared with the first (A/A): how many tests are called different
  ab       a run off screen, then one sharing processor 0 with a busy loop (A/B),
           compared; the busy loop's own share of the processor, read from Linux,
           gives the true ratio independently (1 - its share)
  ceiling  --raw --repeat 5 on the window: efficiency, its interval and its bound

Each writes NAME.json (the runs), NAME.txt (the tables) beside this script."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import winerun  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
OFFSCREEN = ["--offscreen", "800x600", "--window-ms", "1000", "--affinity", "0", "--quiet"]


def quenzel_run(wine, exe, *args):
    run = subprocess.run([winerun.WINE, exe, *args], env=wine.env, cwd=HERE, capture_output=True,
                         text=True)
    if run.returncode != 0:
        raise RuntimeError(f"QuenzelRun {args}: exit code {run.returncode}: {run.stderr}")
    return run.stdout


def processor_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def measure(wine, exe, name):
    out = []
    if name == "aa":
        out.append(quenzel_run(wine, exe, *OFFSCREEN, "--repeat", "9", "--json", "aa-1.json"))
        out.append(quenzel_run(wine, exe, *OFFSCREEN, "--repeat", "9", "--json", "aa-2.json",
                               "--compare", "aa-1.json"))
    elif name == "ab":
        out.append(quenzel_run(wine, exe, *OFFSCREEN, "--repeat", "5", "--json", "ab-a.json"))
        busy = subprocess.Popen(["taskset", "-c", "0", sys.executable, "-c", "while True: pass"])
        try:
            start, used = time.monotonic(), processor_seconds(busy.pid)
            out.append(quenzel_run(wine, exe, *OFFSCREEN, "--repeat", "5", "--json", "ab-b.json",
                                   "--compare", "ab-a.json"))
            share = (processor_seconds(busy.pid) - used) / (time.monotonic() - start)
        finally:
            busy.kill()
        out.append(f"busy loop's share of processor 0 during B: {share:.3f}; "
                   f"true ratio B/A: {1 - share:.3f}\n")
    else:
        out.append(quenzel_run(wine, exe, "--raw", "--repeat", "5", "--affinity", "0", "--quiet",
                               "--json", "ceiling.json"))
    with open(os.path.join(HERE, name + ".txt"), "w") as f:
        f.write("\n".join(out))
    print("\n".join(out), flush=True)


def main(argv):
    if len(argv) < 3 or any(name not in ("aa", "ab", "ceiling") for name in argv[2:]):
        print(__doc__, file=sys.stderr)
        return 2
    display, wine = winerun.open_session()
    try:
        for name in argv[2:]:
            measure(wine, os.path.abspath(argv[1]), name)
    finally:
        wine.close()
        display.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
