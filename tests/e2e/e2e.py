#!/usr/bin/env python3
"""End-to-end cases: the real programs under Wine on a virtual display, driven with
real keys and clicks, checked on screenshots, files and exit codes.

    e2e.py setup STATE | cleanup STATE   start or stop the shared Xvfb and Wine prefix
    e2e.py CASE EXE STATE                run one case against one program
    e2e.py imports EXE                   the program imports only the system's DLLs
"""
import csv
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts"))
import winerun  # noqa: E402
from winerun import WHITE, Layout, press_next, wait_intro, wait_stable_screen  # noqa: E402

WIDTH, HEIGHT = 1024, 768


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def spans(flags):
    """The (first, last) index of each run of true values."""
    edges = [i for i in range(len(flags) + 1)
             if (i < len(flags) and flags[i]) != (i > 0 and flags[i - 1])]
    return [(edges[i], edges[i + 1] - 1) for i in range(0, len(edges), 2)]


def start(wine, exe):
    program = wine.start(exe)
    program.wait_window()
    subprocess.run(["xdotool", "mousemove", str(WIDTH // 2), "200"], env=wine.env, check=True)
    layout = Layout(wait_intro(program), WIDTH, HEIGHT)
    return program, wait_stable_screen(program, layout, (True, True), 10), layout


def case_intro(wine, exe, handheld):
    """The drawing area, the buttons, the logo and its shadow; Close ends with 0."""
    program, intro, layout = start(wine, exe)
    # The handheld covers the whole screen; the desktop's area is under a caption.
    check((layout.top == 0) == handheld and layout.top < 40, f"the area starts at y {layout.top}")
    # 80 x 22 buttons 16 pixels in, 10 above the bottom; Wine's white highlight on
    # their top and left edges merges with the ground, so they show one pixel in.
    row = spans([intro.getpixel((x, HEIGHT - 20)) != WHITE for x in range(WIDTH)])
    column = spans([intro.getpixel((56, y)) != WHITE for y in range(HEIGHT - 40, HEIGHT)])
    check(row == [(17, 95), (WIDTH - 95, WIDTH - 17)] and column == [(9, 29)],
          f"buttons span {row} and {column} below y {HEIGHT - 40}")
    logo = list(intro.crop((8, layout.top + 64, WIDTH - 8, HEIGHT - 48)).getdata())
    black, grey = logo.count((0, 0, 0)), logo.count((127, 127, 127))
    check(black > len(logo) // 10 and (grey == 0 if handheld else grey > 2000),
          f"the logo shows {black} black and {grey} grey pixels")
    program.click(layout.close_x + 40, layout.button_top + 11)
    check(program.exit_code(timeout=15) == 0, "no exit code 0 after Close")


def case_second(wine, exe, handheld):
    """A second copy steps aside with 0 and leaves the first one as it was."""
    first, before, layout = start(wine, exe)
    check(wine.start(exe).exit_code(timeout=30) == 0, "the second copy did not end with 0")
    check(len(first.windows()) == 1 and first.screenshot().tobytes() == before.tobytes(),
          "the first copy's window changed")
    first.key("F2")
    check(first.exit_code(timeout=15) == 0, "the first copy did not end with 0 on F2")


def case_sequence(wine, exe, handheld):
    """The tests in turn, each for more than ten seconds; F2 pressed during the last
    test waits in the queue and ends the program with 0 after it."""
    program, intro, layout = start(wine, exe)
    for test in range(1, 8):
        began = time.monotonic()
        press_next(program, layout)
        if test == 7:
            time.sleep(3)
            program.key("F2")
            check(program.exit_code(timeout=30) == 0, "no exit code 0 after F2")
        else:
            try:
                wait_stable_screen(program, layout, (True, True), 60)
            except TimeoutError as timeout:
                raise Failure(f"test {test}: {timeout}; running: {program.running()}")
        check(time.monotonic() - began > 10, f"test {test} or F2 acted early")


def case_celayer(wine, exe, handheld):
    run = subprocess.run(["wine", exe], env=wine.env, capture_output=True, text=True, timeout=60)
    check(run.returncode == 42, f"exit code {run.returncode}: {run.stdout}")


def quenzel_run(wine, exe, *args, timeout=300):
    """Runs QuenzelRun in a new folder; returns the folder, exit code, stdout, stderr."""
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    run = subprocess.run(["wine", exe, *args], env=wine.env, cwd=folder, capture_output=True,
                         text=True, timeout=timeout)
    return folder, run.returncode, run.stdout, run.stderr


def case_run(wine, exe, handheld):
    """The default run of Pixel on the window scores count div 10, as the interactive
    program does; seven tests off screen, three samples each, have their ceiling, show
    their progress and compare with a recorded run; the micro-benchmark tools' compare.py
    reads two runs."""
    old = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data", "old-run.json")
    for args in (["--tests", "1", "--csv", "run.csv", "--quiet", "--host"],
                 ["--offscreen", "320x200", "--window-ms", "200", "--repeat", "3", "--raw",
                  "--compare", old, "--svg", "c.svg", "--benchmark-json", "a.json"]):
        folder, code, out, err = quenzel_run(wine, exe, *args, "--json", "run.json")
        with open(os.path.join(folder, "run.json")) as f:
            data = json.load(f)
        window, (w, h) = "--raw" not in args, (data["width"], data["height"])
        # The window: the screen's width, and its height on the handheld, less a caption
        # on the desktop.
        check(code == 0 and data["wine"] and data["target"] == ("window" if window else "offscreen")
              and (w == WIDTH and (h == HEIGHT if handheld else 700 < h < HEIGHT) if window
                   else (w, h) == (320, 200)), f"exit code {code}: {err}; {w}x{h}")
        check(f"TOTAL: {data['total']}" in out and len(data["tests"]) == (1 if window else 7),
              f"the table: {out}")
        check(data["cpus"] >= 1 and data["qpc_hz"] > 0 and data["tick_step_ms"] >= 1 and
              ("host" in data) == window, "the machine's facts, the host only when asked")
        progress = re.findall(r"^\w+ +sample [1-3] of 3: \d+/s, \d+ min \d\d s left$", err, re.M)
        check(len(progress) == 21 * (not window), f"progress: {err}")
        if window:  # the setting, one sample and one summary
            with open(os.path.join(folder, "run.csv"), newline="") as f:
                records = [row["record"] for row in csv.DictReader(f)]
            check(records.count("sample") == 1 and records.count("summary") == 1 and
                  records.count("setting") > 20, "the CSV's rows")
        for test in data["tests"]:
            for s in test["samples"]:
                score = s["count"] // 10 if window else s["count"] * 1000 // s["tick_ms"]
                check(s["per_second"] == score and abs(s["qpc_ms"] - s["tick_ms"]) < 50 and
                      s["tick_ms"] > (10000 if window else 200), f"{test['name']}: {s}")
            # Each raw sample replays its own scored sample's calls.
            raw = [(r["calls"], r["replays_sample"]) for r in test["raw_samples"]]
            check(raw == ([] if window else [(s["count"], i + 1) for i, s in
                                              enumerate(test["samples"])]), f"{test['name']}: {raw}")
    with open(os.path.join(folder, "c.svg")) as f:
        bars = re.findall(r'class="(new|old)"', f.read())
    # The recorded run has Pixel and BitBlt only; three samples a side give no verdict.
    ratios = re.findall(r"^(Pixel|BitBlt) .* \d\.\d{3} \(too few\)$", out, re.M)
    check(bars.count("new") == 7 and bars.count("old") == 2 and len(ratios) == 2, out)
    second = quenzel_run(wine, exe, "--offscreen", "320x200", "--window-ms", "50", "--repeat", "2",
                         "--quiet", "--benchmark-json", os.path.join(folder, "b.json"))
    tool = subprocess.run(["/usr/bin/python3", "/usr/share/benchmark/compare.py", "benchmarks",
                           "a.json", "b.json"], cwd=folder, capture_output=True, text=True)
    plain = re.sub(r"\x1b\[[0-9;]*m", "", tool.stdout)
    reported = set(re.findall(r"^(\w+)_pvalue ", plain, re.M))
    check(second[1] == 0 and tool.returncode == 0 and
          reported == {test["name"] for test in data["tests"]},
          f"compare.py: {tool.returncode} {reported} {tool.stderr[-300:]}")


def bitmap(folder, name):
    with Image.open(os.path.join(folder, name)) as image:
        return list(image.convert("RGB").getdata())


def case_run_snapshot(wine, exe, handheld):
    """Every sample draws what a fresh start draws: the last sample's first pixels are
    a single sample's. BitBlt copies the source bitmap's colour stripes (on the
    desktop, three draws of its LCG per row, blue first; never the last row)."""
    runs = [quenzel_run(wine, exe, *args, "--snapshot", "s.bmp") for args in (
        ["--tests", "1", "--window-ms", "2"], ["--tests", "1", "--window-ms", "2", "--repeat", "2"],
        ["--tests", "6", "--window-ms", "50", "--offscreen", "320x200"])]
    check(all(code == 0 for _, code, _, _ in runs), f"exit codes {[r[1] for r in runs]}")
    one, two, blt = (bitmap(folder, "s.bmp") for folder, *_ in runs)
    # The shorter run's pixels are in the longer one's, but for the few a later pixel
    # of the longer run covered.
    fewer, more = sorted(({i: p for i, p in enumerate(x) if p != WHITE} for x in (one, two)), key=len)
    same = sum(1 for i, p in fewer.items() if more.get(i) == p)
    check(len(fewer) > 100 and same >= len(fewer) * 0.95, f"{same} of {len(fewer)} pixels agree")
    seed, draws = 0, []
    for _ in range(3 * 199):
        seed = (seed * 134775813 + 1) & 0xFFFFFFFF
        draws.append((seed * 256) >> 32)
    stripes = {(draws[i + 2], draws[i + 1], draws[i]) for i in range(0, len(draws), 3)}
    colours = set(blt) - {WHITE}
    check(len(colours) > 20 and (handheld or colours <= stripes), f"BitBlt copied {len(colours)} "
          f"colours, {list(colours - stripes)[:3]} not from the desktop's source")


def case_run_errors(wine, exe, handheld):
    """Bad input: one line naming the culprit, exit code 2, no file touched."""
    for args, culprit in [(["--bogus"], "--bogus"), (["--compare", "none.json"], "none.json"),
                          (["--csv", "no/such/x.csv"], "no/such/x.csv"),
                          (["--json", "a", "--svg", "a"], "'a'"),
                          (["--affinity", "63"], "--affinity")]:
        folder, code, out, err = quenzel_run(wine, exe, *args, timeout=60)
        check(code == 2 and len(err.splitlines()) == 1 and culprit in err and not os.listdir(folder),
              f"{args}: exit code {code}, said {err!r}")


def main(argv):
    if len(argv) == 3 and argv[1] == "setup":
        display, wine = winerun.open_session(WIDTH, HEIGHT)
        with open(argv[2], "w") as f:
            json.dump({"display": display.name, "xvfb": display.process.pid, "prefix": wine.prefix}, f)
        return 0
    if len(argv) == 3 and argv[1] == "imports":
        dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", argv[2]], capture_output=True,
                              text=True, check=True).stdout
        dlls = {m.lower() for m in re.findall(r"DLL Name: (\S+)", dump)}
        print(f"imports {sorted(dlls)}")
        return 0 if dlls and dlls <= {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll",
                                          "advapi32.dll"} else 1
    with open(argv[-1]) as f:
        state = json.load(f)
    wine = winerun.Wine(state["display"], WIDTH, HEIGHT, prefix=state["prefix"])
    if argv[1] == "cleanup":
        wine.own_prefix = True
        wine.close()
        os.kill(state["xvfb"], signal.SIGTERM)
        return 0
    try:
        globals()["case_" + argv[1].replace("-", "_")](wine, argv[2], argv[2].endswith("CE.exe"))
    except (Failure, TimeoutError, subprocess.TimeoutExpired) as failure:
        print(f"FAILED: {argv[1]} {argv[2]}: {failure}")
        return 1
    print(f"passed: {argv[1]} {argv[2]}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
