#!/usr/bin/env python3
"""The wide suite under Wine on a virtual 1024 x 768 x 24 display.

    measurements/wide.py [--ce CE_EXE] [--planted EXE] [--picture EXE]
                         [--before EXE --before-planted EXE] EXE MODE...

- time: a whole wide run with its defaults on the window, EXE and CE_EXE, timed;
- pictures: a whole wide run with its defaults off screen at 640 x 480, without and with
  --pictures, timed, and the size of the pictures' folder;
- picture: FillRect.* alternated with --picture (EXE's sources with picture.patch:
  FillRect's brush one step off in blue), one run a side, pictures into pictures/;
- raw: --raw off screen at 640 x 480, 100 ms windows, --repeat 9, EXE and CE_EXE (EXE
  pinned to processor 0);
- ab: EXE against --planted (EXE's sources with planted.patch: Rectangle.100 draws its
  square twice), --runs 20 alternating (10 a side), off screen 640 x 480, 100 ms windows,
  --repeat 3; each line of its progress with the time it was shown, and the time left
  it said against the time the command then took;
- before: the same with --before and --before-planted (the build before the wide
  suite's ceiling, and it with its own planted.patch), its time in windows summed from
  its saved samples;
- planted: ab's two groups offline, the planted build's as the new side;
- aa: the same as ab against a copy of EXE;
- depths: a whole wide run with its defaults off screen at 640 x 480 at each depth,
  EXE and CE_EXE, timed;
- warm-up: off screen at 640 x 480, 100 ms windows, --repeat 3, with no warm-up and with
  100 ms: each test's first sample against the median of its others;
- copies: --raw for StretchDIBits.*, SetDIBitsToDevice.* and BitBlt.SRCCOPY.* alone, off
  screen at 640 x 480, --repeat 9: EXE pinned and not, 100 and 1000 ms windows, at 24
  bits, and CE_EXE: where StretchDIBits.100's replay outruns its score.

Writes wide-*.txt (each table, with the command and its time) and wide/*.json beside
this script."""
import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import winerun  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
WIDE = os.path.join(HERE, "wide")
OFF = ["--suite", "wide", "--offscreen", "640x480"]
PAIRS = OFF + ["--window-ms", "100", "--repeat", "3", "--runs", "20"]


def run(wine, name, exe, *args, cwd=WIDE):
    """Runs one command to its end; writes wide-NAME.txt and returns the run and its time."""
    began, load = time.monotonic(), os.getloadavg()[0]
    done = subprocess.run([winerun.WINE, exe, *args], env=wine.env, cwd=cwd,
                          capture_output=True, text=True)
    took = time.monotonic() - began
    with open(os.path.join(HERE, f"wide-{name}.txt"), "w") as f:
        f.write(f"$ {os.path.basename(exe)} {' '.join(args)}\n"
                f"exit code {done.returncode}, {took:.1f} s, load {load:.1f} before and "
                f"{os.getloadavg()[0]:.1f} after\n{done.stderr}\n{done.stdout}")
    print(f"{name}: exit code {done.returncode} in {took:.0f} s", flush=True)
    return done, took


def stamped(wine, name, exe, *args):
    """Runs an A/B showing its progress; writes wide-NAME.txt (its table and messages) and
    wide-NAME-left.txt: each progress line with when it came, and where it says a time
    left, that against the time the command actually took from then."""
    began, load = time.monotonic(), os.getloadavg()[0]
    with tempfile.TemporaryFile("w+") as out:
        process = subprocess.Popen([winerun.WINE, exe, *args], env=wine.env, cwd=WIDE,
                                   text=True, stdout=out, stderr=subprocess.PIPE, bufsize=1)
        lines = [(time.monotonic() - began, line.rstrip("\n")) for line in process.stderr]
        code, took = process.wait(), time.monotonic() - began
        out.seek(0)
        table = out.read()
    said = []
    with open(os.path.join(HERE, f"wide-{name}-left.txt"), "w") as f:
        f.write("seconds since the start, the line, [the time left it said; the time the "
                "command then took]\n")
        for at, line in lines:
            left = re.search(r"(\d+) min (\d\d) s left", line)
            if left:
                said.append((at, int(left[1]) * 60 + int(left[2]), took - at))
            f.write(f"{at:7.1f} {line}" + (f"   [{said[-1][1]} s; {said[-1][2]:.1f} s]\n"
                                           if left else "\n"))
    errors = [abs(s - a) for _, s, a in said]
    worst = max((abs(s - a) / a if a > 0 else 0, at, s, a) for at, s, a in said if a >= 50)
    summary = (f"{len(said)} lines saying the time left; the largest difference from the time "
               f"then taken: {max(errors):.1f} s; the largest share of it where 50 s or more "
               f"were left: {100 * worst[0]:.1f} % (at {worst[1]:.0f} s, {worst[2]} s said, "
               f"{worst[3]:.0f} s taken)\n" if said else "no line says a time left\n")
    rest = [line for _, line in lines if not re.search(r" s left$", line)]
    with open(os.path.join(HERE, f"wide-{name}.txt"), "w") as f:
        f.write(f"$ {os.path.basename(exe)} {' '.join(args)}\n"
                f"exit code {code}, {took:.1f} s, load {load:.1f} before and "
                f"{os.getloadavg()[0]:.1f} after\n{summary}" + "\n".join(rest) + f"\n\n{table}")
    print(f"{name}: exit code {code} in {took:.0f} s; {summary}", end="", flush=True)
    return took


def windows_ms(*files):
    """The time a group's saved samples measured, in milliseconds."""
    total = 0
    for path in files:
        with open(os.path.join(WIDE, path)) as f:
            total += sum(s["qpc_ms"] for t in json.load(f)["tests"] for s in t["samples"])
    return total


def size_kb(folder):
    return sum(os.path.getsize(os.path.join(folder, n)) for n in os.listdir(folder)) / 1024


def first_samples(path):
    """For each test, its first sample's rate over the median of its others."""
    with open(os.path.join(WIDE, path)) as f:
        tests = json.load(f)["tests"]
    return [t["samples"][0]["rate"] / statistics.median(s["rate"] for s in t["samples"][1:])
            for t in tests]


def measure(wine, o, mode, same):
    if mode == "time":
        run(wine, "time", o.exe, "--suite", "wide", "--quiet", "--json", "time.json")
        run(wine, "time-handheld", o.ce, "--suite", "wide", "--quiet", "--json",
            "time-handheld.json")
    elif mode == "pictures":
        folder = tempfile.mkdtemp()
        _, without = run(wine, "pictures-without", o.exe, *OFF, "--quiet")
        _, with_ = run(wine, "pictures-with", o.exe, *OFF, "--quiet", "--pictures", folder)
        with open(os.path.join(HERE, "wide-pictures.txt"), "w") as f:
            f.write(f"a whole wide run off screen at 640 x 480: {without:.1f} s without "
                    f"--pictures, {with_:.1f} s with it; its folder {size_kb(folder):.0f} KB "
                    f"in {len(os.listdir(folder))} files\n")
        shutil.rmtree(folder)
    elif mode == "picture":
        for folder in ("pictures", "pictures-other"):
            shutil.rmtree(os.path.join(HERE, folder), ignore_errors=True)
        run(wine, "picture", o.exe, *OFF, "--tests", "FillRect.*", "--window-ms", "100",
            "--repeat", "3", "--runs", "2", "--alternate", o.picture, "--pictures", "pictures",
            "--json", "wide/picture.json", cwd=HERE)
    elif mode == "raw":
        # The handheld system pins no process to a processor.
        for name, exe, pin in (("raw", o.exe, ["--affinity", "0"]), ("raw-handheld", o.ce, [])):
            run(wine, name, exe, *OFF, "--raw", "--window-ms", "100", "--repeat", "9", *pin,
                "--quiet", "--json", f"{name}.json")
    elif mode in ("ab", "before"):
        exe, other = (o.exe, o.planted) if mode == "ab" else (o.before, o.before_planted)
        took = stamped(wine, mode, exe, *PAIRS, "--alternate", other, "--json", f"{mode}.json",
                       "--fail-picture", *(["--svg", "ab.svg"] if mode == "ab" else []))
        measured = windows_ms(f"{mode}.json", f"{mode}-other.json") / 1000
        with open(os.path.join(HERE, f"wide-{mode}.txt"), "a") as f:
            f.write(f"\nthe saved samples' windows: {measured:.0f} s of {took:.0f} s "
                    f"({100 * measured / took:.1f} %)\n")
    elif mode == "planted":
        run(wine, "planted", o.exe, "--from", "ab-other.json", "--compare", "ab.json")
    elif mode == "aa":
        run(wine, "aa", o.exe, *PAIRS, "--quiet", "--alternate", same, "--json", "aa.json")
    elif mode == "warm-up":
        for ms in ("0", "100"):
            run(wine, f"warm-up-{ms}", o.exe, *OFF, "--window-ms", "100", "--repeat", "3",
                "--warmup-ms", ms, "--quiet", "--json", f"warm-up-{ms}.json")
        with open(os.path.join(HERE, "wide-warm-up.txt"), "w") as f:
            for ms in ("0", "100"):
                ratios = first_samples(f"warm-up-{ms}.json")
                f.write(f"warm-up {ms} ms: {len(ratios)} tests; a test's first sample over the "
                        f"median of its others: median {statistics.median(ratios):.3f}, "
                        f"{sum(r < 0.9 for r in ratios)} below 0.9\n")
    elif mode == "copies":
        with open(os.path.join(HERE, "wide-raw-copies.txt"), "w") as f:
            for exe, size, extra in ((o.exe, "640x480", "--window-ms 100 --affinity 0"),
                                     (o.exe, "640x480", "--window-ms 100"),
                                     (o.exe, "640x480", "--window-ms 1000 --affinity 0"),
                                     (o.exe, "640x480x24", "--window-ms 100 --affinity 0"),
                                     (o.ce, "640x480", "--window-ms 100")):
                args = ["--suite", "wide", "--offscreen", size, "--raw", "--repeat", "9",
                        "--quiet", "--tests", "StretchDIBits.*,SetDIBitsToDevice.*,BitBlt.SRCCOPY.*",
                        *extra.split()]
                done = subprocess.run([winerun.WINE, exe, *args], env=wine.env,
                                      capture_output=True, text=True)
                ceiling = done.stdout[done.stdout.index("\nceiling") + 1:]
                f.write(f"$ {os.path.basename(exe)} {' '.join(args)}\nexit code "
                        f"{done.returncode}, load {os.getloadavg()[0]:.1f}\n{ceiling}\n")
    else:
        with open(os.path.join(HERE, "wide-depths.txt"), "w") as f:
            for flavour, program in (("desktop", o.exe), ("handheld", o.ce)):
                for depth in (1, 8, 16, 24, 32):
                    began = time.monotonic()
                    done = subprocess.run([winerun.WINE, program, "--suite", "wide", "--offscreen",
                                           f"640x480x{depth}", "--quiet"], env=wine.env,
                                          capture_output=True, text=True)
                    tests = len(re.findall(r"^\S+ +\d+ +\d+ +\d+ ", done.stdout, re.M))
                    f.write(f"{flavour} 640x480x{depth}: exit code {done.returncode}, "
                            f"{tests} tests in {time.monotonic() - began:.0f} s\n")
                    f.flush()


def main(argv):
    modes = ("time", "pictures", "picture", "raw", "ab", "before", "planted", "aa", "depths",
             "warm-up", "copies")
    parser = argparse.ArgumentParser(usage=__doc__)
    for option in ("--ce", "--planted", "--picture", "--before", "--before-planted"):
        parser.add_argument(option, type=os.path.abspath)
    parser.add_argument("exe", type=os.path.abspath)
    parser.add_argument("modes", nargs="+", choices=modes)
    o = parser.parse_args(argv[1:])
    os.makedirs(WIDE, exist_ok=True)
    same = os.path.join(tempfile.mkdtemp(), "QuenzelRun.exe")
    shutil.copy(o.exe, same)
    display, wine = winerun.open_session()
    try:
        for mode in o.modes:
            measure(wine, o, mode, same)
    finally:
        wine.close()
        display.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
