#!/usr/bin/env python3
"""End-to-end cases: the real programs under Wine on a virtual display, driven with
real keys and clicks, checked on screenshots, files and exit codes.

    e2e.py setup STATE | cleanup STATE   start or stop the shared Xvfb and Wine prefix
    e2e.py CASE EXE STATE                run one case against one program
    e2e.py imports CPACK CONFIG VERSION BITS  the zip: its files; its programs' imports
                                         (the system's DLLs only), versions and manifests
"""
import glob
import hashlib
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree
import zipfile

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts"))
import winerun  # noqa: E402
from winerun import WHITE, Layout, wait_intro, wait_stable_screen  # noqa: E402

WIDTH, HEIGHT = 1024, 768
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Saved runs of the repository's: a seven-test run, a wide one, one of QuenzelRun's first.
SAVED = {"seven": os.path.join(ROOT, "measurements", "groups", "single-01.json"),
         "wide": os.path.join(ROOT, "measurements", "wide", "ab.json"),
         "old": os.path.join(ROOT, "tests", "e2e", "data", "old-run.json")}


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
    """The drawing area and the buttons; Close ends with 0."""
    program, intro, layout = start(wine, exe)
    # The handheld covers the whole screen; the desktop's area is under a caption.
    check((layout.top == 0) == handheld and layout.top < 40, f"the area starts at y {layout.top}")
    # 80 x 22 buttons 16 pixels in, 10 above the bottom; Wine's white highlight on
    # their top and left edges merges with the ground, so they show one pixel in.
    row = spans([intro.getpixel((x, HEIGHT - 20)) != WHITE for x in range(WIDTH)])
    column = spans([intro.getpixel((56, y)) != WHITE for y in range(HEIGHT - 40, HEIGHT)])
    check(row == [(17, 95), (WIDTH - 95, WIDTH - 17)] and column == [(9, 29)],
          f"buttons span {row} and {column} below y {HEIGHT - 40}")
    program.click(layout.close_x + 40, layout.button_top + 11)
    check(program.exit_code(timeout=15) == 0, "no exit code 0 after Close")


def case_second(wine, exe, handheld):
    """A second copy steps aside with 0 and leaves the first one as it was; QuenzelRun
    refuses to measure on the same display."""
    first, before, layout = start(wine, exe)
    check(wine.start(exe).exit_code(timeout=30) == 0, "the second copy did not end with 0")
    runner = os.path.join(os.path.dirname(exe), "QuenzelRun.exe")
    run = subprocess.run([winerun.WINE, runner, "--tests", "1", "--window-ms", "50"], env=wine.env,
                         capture_output=True, text=True, timeout=60)
    check(run.returncode == 1 and "another copy" in run.stderr, f"QuenzelRun: {run.stderr!r}")
    check(len(first.windows()) == 1 and first.screenshot().tobytes() == before.tobytes(),
          "the first copy's window changed")
    first.key("F2")
    check(first.exit_code(timeout=15) == 0, "the first copy did not end with 0 on F2")


def start_test(program, layout):
    """F1 on a screen with buttons; returns once the test runs (the buttons are gone for
    its ten seconds)."""
    program.key("F1")
    winerun.wait_until(lambda: layout.buttons(program.screenshot()) == (False, False), 10,
                       what="a test to start")


def case_sequence(wine, exe, handheld):
    """./run.sh as a user runs it with no display, output captured: nine screens saved,
    each result more than ten seconds after its F1, exit code 0."""
    build = os.path.dirname(os.path.dirname(exe))
    env = dict(os.environ, XDG_CACHE_HOME=os.path.join(build, "run-sh-cache"))
    env.pop("DISPLAY", None)
    run = subprocess.run([os.path.join(ROOT, "run.sh"), *(["--handheld"] if handheld else [])],
                         env=env, capture_output=True, text=True, timeout=500)
    folder = re.search(r"^screens: (.+)$", run.stdout, re.M)
    saved = sorted(os.listdir(folder[1])) if folder else []
    waits = [float(w) for w in re.findall(r"^saved result-\d after ([\d.]+) s$", run.stdout, re.M)]
    check(run.returncode == 0 and len(waits) == 7 and min(waits) > 10 and saved ==
          [f"{i}-{name}.png" for i, name in enumerate(winerun.SCREENS)],
          f"exit code {run.returncode}, saved {saved}, {run.stdout[-600:]} {run.stderr[-600:]}")


def post_close(wine, exe):
    """WM_CLOSE from another process as soon as the window exists."""
    poster = os.path.join(os.path.dirname(exe), "PostClose.exe")
    check(subprocess.run([winerun.WINE, poster], env=wine.env, timeout=120).returncode == 0,
          "no window to post WM_CLOSE to")


def case_exits(wine, exe, handheld):
    """Every way out ends with 0: Alt+F4 on the intro (F2 on the summary is ./run.sh's);
    WM_CLOSE from another process at the very start; during a test, WM_CLOSE on the
    handheld and F2 on the desktop, each acted on when the test has ended."""
    program, _, _ = start(wine, exe)
    program.key("alt+F4")
    check(program.exit_code(timeout=15) == 0, "Alt+F4 on the intro")
    program = wine.start(exe)
    post_close(wine, exe)
    check(program.exit_code(timeout=15) == 0, "WM_CLOSE at the start")
    program, _, layout = start(wine, exe)
    began = time.monotonic()
    start_test(program, layout)
    if handheld:
        post_close(wine, exe)
    else:
        program.key("F2")
    check(program.exit_code(timeout=30) == 0 and time.monotonic() - began > 10,
          "WM_CLOSE or F2 during a test")


def case_together(wine, exe, handheld):
    """Started in the same instant, with the other flavour and with itself: one copy
    runs, the other steps aside with 0."""
    other = exe.replace("CE.exe", ".exe") if handheld else exe.replace(".exe", "CE.exe")
    for pair in ((exe, other), (exe, exe)):
        programs = [wine.start(name) for name in pair]
        try:
            winerun.wait_until(lambda: any(not p.running() for p in programs), 60,
                               what="one copy to step aside")
            time.sleep(3)
            alive = [p for p in programs if p.running()]
            check(len(alive) == 1 and [p.exit_code(0) for p in programs if p not in alive] == [0],
                  f"{len(alive)} copies run")
            alive[0].wait_window()
            alive[0].key("F2")
            check(alive[0].exit_code(timeout=15) == 0, "no exit code 0 after F2")
        finally:
            for p in programs:
                p.kill()


def quenzel_run(wine, exe, *args, timeout=300):
    """Runs QuenzelRun in a new folder; returns the folder, exit code, stdout, stderr."""
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    run = subprocess.run([winerun.WINE, exe, *args], env=wine.env, cwd=folder, capture_output=True,
                         text=True, timeout=timeout)
    return folder, run.returncode, run.stdout, run.stderr


def wrapper_run(wine, exe, *args):
    """QuenzelRun through scripts/quenzelrun as a script calls it, output captured: its
    first call, which makes the wrapper's display and prefix (then ended with --stop)."""
    wrapper = [os.path.join(ROOT, "scripts", "quenzelrun"), *(["--handheld"] * exe.endswith("CE.exe"))]
    env = dict(os.environ, XDG_CACHE_HOME=tempfile.mkdtemp(prefix="quenzelrun-cache-"))
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    try:
        run = subprocess.run([*wrapper, *args], env=env, cwd=folder, capture_output=True,
                             text=True, timeout=180)
    finally:
        subprocess.run([wrapper[0], "--stop"], env=env)
    return folder, run.returncode, run.stdout, run.stderr


def case_run(wine, exe, handheld):
    """The default run of Pixel on the window, through the wrapper's first call, scores
    count div 10, as the interactive program does; seven tests off screen, three samples each, have their ceiling, show
    their progress and compare with a recorded run; the micro-benchmark tools' compare.py
    reads two runs."""
    old = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data", "old-run.json")
    for args in (["--tests", "1", "--quiet", "--host"],
                 ["--offscreen", "320x200", "--window-ms", "200", "--repeat", "3", "--raw",
                  "--compare", old, "--svg", "c.svg", "--benchmark-json", "a.json"]):
        run = wrapper_run if "--host" in args else quenzel_run
        folder, code, out, err = run(wine, exe, *args, "--json", "run.json")
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
        # What was not measured is null: the ceiling without --raw, intervals of 3 samples.
        unknown = [k for k in ("draw_ns", "tick_ns") if data[k] is None] + [
            k for t in data["tests"] for k in ("raw_median", "efficiency", "bound", "half_width")
            if t[k] is None]
        check(len(unknown) == (2 + 4 if window else 7), f"unknowns: {unknown}")
        progress = re.findall(r"^\w+ +sample [1-3] of 3: score \d+, \d+ min \d\d s left$", err, re.M)
        check(len(progress) == 21 * (not window), f"progress: {err}")
        for test in data["tests"]:
            for s in test["samples"]:
                score = s["count"] // 10 if window else s["count"] * 1000 // s["tick_ms"]
                check(s["per_second"] == score and abs(s["qpc_ms"] - s["tick_ms"]) < 50 and
                      s["tick_ms"] > (10000 if window else 200), f"{test['name']}: {s}")
            # Each raw sample replays its own scored sample's calls.
            raw = [(r["calls"], r["replays_sample"]) for r in test["raw_samples"]]
            check(raw == ([] if window else [(s["count"], i + 1) for i, s in
                                              enumerate(test["samples"])]), f"{test['name']}: {raw}")
    # The recorded run has Pixel (3 samples) and BitBlt (1) only: no verdict, and why.
    ratios = re.findall(r"^(Pixel|BitBlt) +\d+\.\d{3} no verdict: 3 vs [13] samples, needs 5 "
                        r"a side$", out, re.M)
    with open(os.path.join(folder, "c.svg")) as f:
        check(len(ratios) == 2 and f.read().count("<circle") == 2 and
              [c["name"] for c in data["comparisons"]] == ["Pixel", "BitBlt"], out)
    # Four runs alternating with a copy of itself, saved as two groups of two runs; the
    # groups compared offline without a display, twice alike; a group of two settings
    # and an OTHER that is no program are refused.
    group = ["--tests", "Pixel", "--offscreen", "320x200", "--window-ms", "50", "--repeat", "2", "--quiet"]
    copy = shutil.copy(exe, os.path.join(folder, "copy.exe"))
    alternated = subprocess.run([winerun.WINE, exe, *group, "--runs", "4", "--alternate", copy, "--json",
                                 "g.json", "--pictures", "p"], env=wine.env, cwd=folder,
                                capture_output=True, text=True)
    saved = [json.load(open(os.path.join(folder, f))) for f in ("g.json", "g-other.json")]
    runs = [[s["run"] for s in g["tests"][0]["samples"]] for g in saved]
    # Each build's pictures beside the other's, each group naming its own.
    check([g["pictures"] for g in saved] == ["p", "p-other"] and
          [os.listdir(os.path.join(folder, p)) for p in ("p", "p-other")] == [["Pixel.png"]] * 2,
          f"pictures: {[g['pictures'] for g in saved]} {alternated.stderr[-300:]}")
    quiet = {k: v for k, v in wine.env.items() if k != "DISPLAY"}
    offline = [subprocess.run([winerun.WINE, exe, *args], env=quiet, cwd=folder, capture_output=True,
                              text=True) for args in (["--from", "g.json", "--compare", "g-other.json"],
                                                      ["--from", "g.json", "--compare", "g-other.json"],
                                                      ["--from", "g*.json", "--from", "run.json"],
                                                      [*group, "--runs", "2", "--alternate", "run.json",
                                                       "--json", "h.json"])]
    check(alternated.returncode == 0 and runs == [[1, 1, 2, 2]] * 2 and
          "no verdict: 2 vs 2 runs, needs 5 a side" in offline[0].stdout and
          offline[0].stdout == offline[1].stdout and
          [o.returncode for o in offline] == [0, 0, 2, 2] and "window_ms 200 here" in
          offline[2].stderr and "--alternate 'run.json': it cannot be started" in offline[3].stderr,
          f"groups: {alternated.stderr[-300:]} {runs} {[(o.stdout, o.stderr) for o in offline]}")
    second = quenzel_run(wine, exe, "--offscreen", "320x200", "--window-ms", "50", "--repeat", "2",
                         "--quiet", "--benchmark-json", os.path.join(folder, "b.json"))
    tool = subprocess.run(["/usr/bin/python3", "/usr/share/benchmark/compare.py", "benchmarks",
                           "a.json", "b.json"], cwd=folder, capture_output=True, text=True)
    plain = re.sub(r"\x1b\[[0-9;]*m", "", tool.stdout)
    reported = set(re.findall(r"^(\w+)_pvalue ", plain, re.M))
    check(second[1] == 0 and tool.returncode == 0 and
          reported == {test["name"] for test in data["tests"]},
          f"compare.py: {tool.returncode} {reported} {tool.stderr[-300:]}")


def case_run_gate(wine, exe, handheld):
    """A run gated against an earlier run of itself fails with exit code 4, naming the
    slower tests, while busy loops share its processor; without them a 50 % gate
    passes."""
    args = ["--tests", "Pixel,Line", "--offscreen", "320x200", "--window-ms", "200", "--repeat",
            "9", "--affinity", "0", "--quiet"]
    folder, code, out, err = quenzel_run(wine, exe, *args, "--json", "a.json")
    old = os.path.join(folder, "a.json")
    # Four busy loops on its processor leave the run a fifth of it at most: an effect far
    # beyond what other work on a busy machine does to either run.
    busy = [subprocess.Popen(["taskset", "-c", "0", "/bin/sh", "-c", "while :; do :; done"])
            for _ in range(4)]
    try:
        _, slow, out, err = quenzel_run(wine, exe, *args, "--compare", old, "--fail-slower", "5")
    finally:
        for loop in busy:
            loop.kill()
            loop.wait()
    marked = re.findall(r"^(Pixel|Line) << +\d", out, re.M)
    check(code == 0 and slow == 4 and re.search(r"by more than 5 %: Pixel Line$", err, re.M) and
          len(marked) == 2, f"busy: exit code {slow}, {err!r}\n{out}")
    _, code, out, err = quenzel_run(wine, exe, *args, "--compare", old, "--fail-slower", "50")
    check(code == 0 and "gate: 0 test(s)" in out, f"quiet: exit code {code}, {err!r}\n{out}")


def case_run_wide(wine, exe, handheld):
    """The wide suite lists its tests by family; it runs whole on the window, and its
    10-pixel sizes at every depth off screen (the 500-pixel ones skipped and named), each
    test with its picture, written as a PNG file (a picture that shows nothing said so on
    its row, GetDIBits showing the bands it read); a pixel planted in one picture is
    named, measured and drawn in a difference image; text larger than the surface is
    skipped; against another depth, --fail-picture exits with 5, naming the tests that
    drew otherwise."""
    _, code, out, _ = quenzel_run(wine, exe, "--suite", "wide", "--list")
    count, small = (105, 29) if handheld else (149, 42)
    check(code == 0 and out.startswith(f"The wide suite ({count} tests):\npoints (") and
          len(re.findall(r"^ +\d+  \S+ +\S", out, re.M)) == count, f"--list: exit code {code}\n{out}")
    # --list shows what --tests chose, a family by its name; --tests chooses among saved runs.
    _, code, out, _ = quenzel_run(wine, exe, "--suite", "wide", "--tests", "regions,4", "--list")
    regions = 4 if handheld else 13
    check(code == 0 and out.startswith(f"The wide suite ({regions + 1} of {count} tests):\nlines "
                                       f"(1):\n    4  Line.10 ") and "\nshapes" not in out,
          f"--tests regions,4 --list: exit code {code}\n{out}")
    _, code, out, _ = quenzel_run(wine, exe, "--from", SAVED["wide"], "--tests", "Line.*")
    with open(SAVED["wide"]) as f:
        lines = [t["name"] for t in json.load(f)["tests"] if t["name"].startswith("Line.")]
    check(code == 0 and re.findall(r"^(Line\.\S+) +\d", out, re.M) == lines and
          "\nSetPixel" not in out, f"--from with --tests: exit code {code}\n{out}")
    # The ceiling of wide tests: each raw sample replays its own sample's calls; with no
    # pictures, none is drawn.
    folder, code, out, err = quenzel_run(wine, exe, "--suite", "wide", "--tests", "SetPixel,Text.Arial.8",
                                         "--offscreen", "320x200", "--window-ms", "20", "--repeat", "2",
                                         "--raw", "--no-pictures", "--quiet", "--json", "r.json")
    with open(os.path.join(folder, "r.json")) as f:
        data = json.load(f)
    check(code == 0 and "median efficiency over its bound: " in out and
          all([(r["calls"], r["replays_sample"]) for r in t["raw_samples"]] ==
              [(x["count"], i + 1) for i, x in enumerate(t["samples"])] and t["picture"] is None
              for t in data["tests"]), f"--raw: exit code {code}: {err}\n{out}")
    # What each run of --runs says is said once.
    _, code, out, err = quenzel_run(wine, exe, "--suite", "wide", "--tests", "SetPixel,Line.500",
                                    "--offscreen", "320x200", "--window-ms", "2", "--runs", "2")
    check(code == 0 and err.count("skipped, larger than the 320x200 surface: Line.500") == 1,
          f"--runs 2: exit code {code}: {err}")
    runs = {}
    for depth in ("window", "1", "8", "16", "24", "32"):
        where = ([] if depth == "window" else
                 ["--offscreen", f"320x200x{depth}", "--tests", "*.10,*.500", "--pictures", "pics"])
        folder, code, out, err = quenzel_run(wine, exe, "--suite", "wide", "--window-ms", "2",
                                             "--repeat", "1", "--quiet", "--json", "w.json", *where)
        with open(os.path.join(folder, "w.json")) as f:
            data = json.load(f)
        runs[depth] = os.path.join(folder, "w.json")
        names = [t["name"] for t in data["tests"]]
        check(code == 0 and data["suite"] == "wide" and
              len(data["tests"]) == (count if depth == "window" else small) and
              data["depth"] == (int(depth) if depth != "window" else data["depth"]) and
              all(re.fullmatch(r"[0-9a-f]{16}", t["picture"]) for t in data["tests"]) and
              ("skipped, larger than the 320x200 surface: Line.500" in err) == (depth != "window"),
              f"{depth}: exit code {code}, {len(data['tests'])} tests: {err}")
        blank = [t["name"] for t in data["tests"] if t["picture_blank"]]
        said = re.findall(r"^(\S+) .* picture shows nothing here$", out, re.M)
        check(said == blank and (depth == "1" or not blank), f"{depth}: blank {blank}, said {said}")
        if depth == "window":
            continue
        pictures = os.path.join(folder, "pics")
        check(data["pictures"] == "pics" and
              sorted(os.listdir(pictures)) == sorted(n + ".png" for n in names) and
              Image.open(os.path.join(pictures, names[0] + ".png")).size == (320, 200),
              f"{depth}: pictures {data['pictures']}: {sorted(os.listdir(pictures))[:3]}")
        if not handheld and depth != "1":
            read = bitmap(pictures, "GetDIBits.10.png")
            check(len({read[y * 320 + x] for y in range(10) for x in range(10)}) > 1,
                  f"{depth}: GetDIBits.10 shows one colour")
    # One pixel planted in a copy of the 32-bit run's pictures, and that test's digest.
    base = os.path.dirname(runs["32"])
    shutil.copytree(os.path.join(base, "pics"), os.path.join(base, "planted"))
    with Image.open(os.path.join(base, "planted", "Ellipse.10.png")) as image:
        image = image.convert("RGB")
    r, g, b = image.getpixel((7, 5))
    image.putpixel((7, 5), (r, g, b ^ 1))
    image.save(os.path.join(base, "planted", "Ellipse.10.png"))
    with open(runs["32"]) as f:
        data = json.load(f)
    data["pictures"] = "planted"
    next(t for t in data["tests"] if t["name"] == "Ellipse.10")["picture"] = "0" * 16
    with open(os.path.join(base, "planted.json"), "w") as f:
        json.dump(data, f)
    folder, code, out, err = quenzel_run(wine, exe, "--from", runs["32"], "--compare",
                                         os.path.join(base, "planted.json"), "--pictures", "d")
    difference = bitmap(os.path.join(folder, "d"), "Ellipse.10-diff.png")
    # The third of the image's three pictures, 320 pixels and a gap of 8 each.
    marked = [(i % 976 - 656, i // 976) for i, p in enumerate(difference) if p == (255, 0, 255)]
    check(code == 0 and "Ellipse.10: 1 pixel in x 7 to 7, y 5 to 5, by at most 1 in a channel" in
          " ".join(out.split()) and re.search(r"^Ellipse.10 +\d\.\d+ OTHER PICTURE: no verdict$",
                                              out, re.M) and marked == [(7, 5)],
          f"planted: exit code {code}, marked {marked[:5]}: {err}\n{out[-900:]}")
    _, same, out, err = quenzel_run(wine, exe, "--from", runs["32"], "--compare", runs["32"],
                                    "--fail-picture")
    _, other, out, err = quenzel_run(wine, exe, "--from", runs["1"], "--compare", runs["32"],
                                     "--fail-picture")
    check(same == 0 and other == 5 and "\nother picture: " in out and
          re.search(r"another picture than '[^']*':( \S+)+$", err, re.M),
          f"exit codes {same}, {other}: {err}\n{out[-600:]}")
    # A text's box beyond the surface is skipped, as a shape's is.
    _, code, out, err = quenzel_run(wine, exe, "--suite", "wide", "--tests", "Text.*,DrawText.*",
                                    "--offscreen", "120x40", "--window-ms", "2", "--quiet")
    skipped = re.search(r"skipped, larger than the 120x40 surface: (.*)$", err, re.M)
    check(code == 0 and skipped and {"Text.Arial.24", "DrawText.wordbreak"} <=
          set(skipped[1].split(", ")) and re.search(r"^Text.Arial.8 +\d", out, re.M),
          f"text: exit code {code}: {err}\n{out}")


def bitmap(folder, name):
    with Image.open(os.path.join(folder, name)) as image:
        return list(image.convert("RGB").getdata())


def case_run_saved(wine, exe, handheld):
    """Every saved run under measurements/ read alone, and the groups compared there and
    in README, give what data/saved.txt recorded: the table, the messages and exit code,
    the JSON, CSV, chart and benchmark layout, byte for byte (QUENZEL_RECORD=1 records)."""
    path = os.path.join(ROOT, "tests", "e2e", "data", "saved.txt")
    outputs = ("json", "csv", "svg", "benchmark-json")
    lines = open(path).read().splitlines()
    recorded = dict(line.split(" | ") for line in lines if not line.startswith("#"))
    found, folder = {}, tempfile.mkdtemp(prefix="quenzelrun-saved-")
    for command in sorted({"--from " + os.path.relpath(p, ROOT) for p in glob.glob(
            os.path.join(ROOT, "measurements", "**", "*.json"), recursive=True)} | set(recorded)):
        files = [os.path.join(folder, "out." + o) for o in outputs]
        run = subprocess.run([winerun.WINE, exe, *command.split(), *sum(([f"--{o}", f] for o, f in zip(
            outputs, files)), [])], env=wine.env, cwd=ROOT, capture_output=True, timeout=120)
        texts = [run.stdout, run.stderr + str(run.returncode).encode()] + [open(f, "rb").read() for f in files]
        found[command] = " ".join(f"{name}={hashlib.sha256(text).hexdigest()[:16]}" for name, text in
                                  zip(("table", "messages", *outputs), texts))
    if os.environ.get("QUENZEL_RECORD"):
        with open(path, "w") as f:
            f.write("\n".join([line for line in lines if line.startswith("#")] +
                              [f"{c} | {d}" for c, d in found.items()]) + "\n")
    wrong = [f"{c}: {' '.join(x for x in d.split() if x not in recorded.get(c, ''))}"
             for c, d in found.items() if d != recorded.get(c)]
    check(not wrong, "other outputs than recorded:\n" + "\n".join(wrong))


def case_run_snapshot(wine, exe, handheld):
    """Every sample draws what a fresh start draws: the last sample's first pixels are
    a single sample's. BitBlt copies the source bitmap's colour stripes (on the
    desktop, three draws of its LCG per row, blue first; never the last row)."""
    runs = [quenzel_run(wine, exe, *args, "--snapshot", "s.bmp") for args in (
        ["--tests", "1", "--window-ms", "2"], ["--tests", "1", "--window-ms", "2", "--repeat", "2"],
        ["--tests", "6", "--window-ms", "50", "--offscreen", "320x200"])]
    check(all(code == 0 for _, code, _, _ in runs), f"exit codes {[r[1] for r in runs]}")
    one, two, blt = (bitmap(folder, "s.bmp") for folder, *_ in runs)
    # The shorter run's pixels are in the longer one's, but for those a later pixel of the
    # longer run covered: each of its extra pixels lands on a given one with chance 1 / area.
    fewer, more = sorted(({i: p for i, p in enumerate(x) if p != WHITE} for x in (one, two)), key=len)
    same = sum(1 for i, p in fewer.items() if more.get(i) == p)
    covered = len(fewer) * (len(more) - len(fewer)) / len(one)
    check(len(fewer) > 100 and len(fewer) - same <= 2 * covered + 50,
          f"{same} of {len(fewer)} pixels agree, about {covered:.0f} covered")
    seed, draws = 0, []
    for _ in range(3 * 199):
        seed = (seed * 134775813 + 1) & 0xFFFFFFFF
        draws.append((seed * 256) >> 32)
    stripes = {(draws[i + 2], draws[i + 1], draws[i]) for i in range(0, len(draws), 3)}
    colours = set(blt) - {WHITE}
    check(len(colours) > 20 and (handheld or colours <= stripes), f"BitBlt copied {len(colours)} "
          f"colours, {list(colours - stripes)[:3]} not from the desktop's source")


def case_run_errors(wine, exe, handheld):
    """Bad input, found before the run: one line naming the culprit, exit code 2, no
    file touched. Among it, output files that cannot be written (a missing folder, a
    folder, a pipe) and two names of one file however spelt. --version names the flavour."""
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    os.mkdir(os.path.join(folder, "sub"))
    os.mkfifo(os.path.join(folder, "pipe"))
    zpath = "Z:" + os.path.join(folder, "run.json").replace("/", "\\")
    for args, culprit in [(["--bogus"], "--bogus"), (["--compare", "none.json"], "none.json"),
                          (["--csv", "no/such/x.csv"], "no/such/x.csv"),
                          (["--csv", "ñ/データ.csv"], "ñ/データ.csv"),
                          (["--snapshot", "sub"], "'sub'"), (["--json", "pipe"], "'pipe'"),
                          (["--json", "a", "--svg", "a"], "'a'"),
                          (["--json", "run.json", "--csv", "RUN.JSON"], "RUN.JSON"),
                          (["--json", "run.json", "--csv", zpath], "run.json"),
                          (["--json", "run.json", "--svg", "run.json."], "run.json."),
                          (["--json", os.path.join(folder, "run.json"), "--svg", "run.json"],
                           "run.json"),
                          (["--affinity", "63"], "--affinity"),
                          (["--windowms", "300"], "did you mean --window-ms?"),
                          (["--repeat"], "--repeat: needs one value, a whole number 1 to 1000"),
                          (["--compare", "sub"], "--compare: 'sub' is a folder"),
                          (["--tests", "Circle"], "Pixel, Line, Rectangle"),
                          # Saved runs: of two suites, a gate with nothing to judge, a test
                          # that none read holds.
                          (["--from", SAVED["wide"], "--compare", SAVED["seven"]],
                           "two suites are never compared"),
                          (["--from", SAVED["seven"], "--tests", "Line", "--compare", SAVED["old"],
                            "--fail-slower", "5"], "the gate would judge nothing"),
                          (["--from", SAVED["seven"], "--tests", "lines"], "no test matches 'lines'")]:
        run = subprocess.run([winerun.WINE, exe, *args], env=wine.env, cwd=folder, capture_output=True,
                             timeout=60)
        err = run.stderr.decode("utf-8")
        check(run.returncode == 2 and len(err.splitlines()) == 1 and culprit in err and
              sorted(os.listdir(folder)) == ["pipe", "sub"],
              f"{args}: exit code {run.returncode}, said {err!r}")
    run = subprocess.run([winerun.WINE, exe, "--version"], env=wine.env, capture_output=True, timeout=60)
    flavour = "handheld" if handheld else "desktop"
    check(run.returncode == 0 and re.fullmatch(rf"QuenzelRun [\d.]+ \({flavour}\)\r?\n",
                                               run.stdout.decode()),
          f"--version: exit code {run.returncode}, said {run.stdout!r}")


def case_run_faults(wine, exe, handheld):
    """A result that cannot be kept is a failure: a full disk, a read-only folder,
    stdout that takes nothing; Ctrl+C stops within a window, leaving nothing; names in any script
    and symbolic links work; compare files with a byte-order mark are read, oversized
    or random ones refused."""
    quick = ["--tests", "1", "--window-ms", "50", "--offscreen", "64x64", "--quiet"]
    mounts = tempfile.mkdtemp(prefix="quenzelrun-mounts-")
    full, readonly = os.path.join(mounts, "full"), os.path.join(mounts, "ro")
    try:
        for where, options in ((full, "size=64k"), (readonly, "ro,size=64k")):
            os.mkdir(where)
            subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", where], check=True)
        with open(os.path.join(full, "run.json"), "w") as f:
            f.write("old")
        subprocess.run(["dd", "if=/dev/zero", f"of={full}/filler", "bs=4k"], capture_output=True)
        for where in (full, readonly):
            _, code, out, err = quenzel_run(wine, exe, *quick, "--json",
                                            "Z:" + where.replace("/", "\\") + "\\run.json")
            left = sorted(os.listdir(where))
            check(code in (1, 2) and "run.json" in err and left == ([] if where == readonly else
                  ["filler", "run.json"]), f"{where}: exit code {code}, {err!r}, left {left}")
        with open(os.path.join(full, "run.json")) as f:
            check(f.read() == "old", "the existing file was touched")
    finally:
        for where in (full, readonly):
            subprocess.run(["umount", where], capture_output=True)
    run = subprocess.run(f"{winerun.WINE} {exe} {' '.join(quick)} > /dev/full", shell=True, env=wine.env,
                         stderr=subprocess.PIPE, timeout=60)
    check(run.returncode == 1, f"stdout to a full device: exit code {run.returncode}")
    # A snapshot too large for memory needs a 32-bit process; a 64-bit one has room.
    folder, code, out, err = quenzel_run(wine, exe, *quick, "--json", "s.json")
    check(code == 0 and os.listdir(folder) == ["s.json"], f"exit code {code}, {err!r}")
    # Names in any script, a link followed, a byte-order mark read.
    os.makedirs(os.path.join(folder, "résultats"))
    os.symlink("s.json", os.path.join(folder, "link.json"))
    with open(os.path.join(folder, "bom.json"), "wb") as f:
        f.write(b"\xef\xbb\xbf" + open(os.path.join(folder, "s.json"), "rb").read())
    run = subprocess.run([winerun.WINE, exe, *quick, "--json", "résultats/データ.json", "--csv",
                          "link.json", "--compare", "bom.json"], env=wine.env, cwd=folder,
                         capture_output=True, timeout=60)
    check(run.returncode == 0 and os.path.islink(os.path.join(folder, "link.json")) and
          os.listdir(os.path.join(folder, "résultats")) == ["データ.json"] and
          open(os.path.join(folder, "s.json")).read().startswith("record,"),
          f"names, links, a mark: exit code {run.returncode}, {run.stderr[-300:]!r}")
    with open(os.path.join(folder, "huge.json"), "wb") as f:
        f.truncate(300 << 20)
    began = time.monotonic()
    _, code, out, err = quenzel_run(wine, exe, *quick, "--compare", os.path.join(folder, "huge.json"))
    check(code == 2 and "huge.json" in err and time.monotonic() - began < 20, f"huge: {err!r}")
    # Ctrl+C during the second of three 3-second samples: stopped within a window.
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    run = subprocess.Popen([winerun.WINE, exe, "--tests", "1", "--window-ms", "3000", "--repeat", "3",
                            "--offscreen", "1024x768", "--snapshot", "s.bmp"], env=wine.env,
                           cwd=folder, stderr=subprocess.PIPE, text=True)
    lines = [run.stderr.readline() for _ in range(2)]
    check("sample 1 of 3" in lines[1], f"no progress: {lines!r}")
    time.sleep(1)
    began = time.monotonic()
    run.send_signal(signal.SIGINT)
    code = run.wait(timeout=30)
    check(code == 130 and time.monotonic() - began < 6 and os.listdir(folder) == [],
          f"Ctrl+C: exit code {code} after {time.monotonic() - began:.1f} s, {os.listdir(folder)}")


def case_run_close(wine, exe, handheld):
    """While a run measures, a second one off screen is refused with exit code 1, naming
    --wait and --concurrent; with --concurrent it runs, with --wait it runs once the first
    has ended; --help is never held up. The window closed from another program while the
    run measures stops the run as Ctrl+C does: exit code 130, nothing written, and the
    message says why."""
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    run = subprocess.Popen([winerun.WINE, exe, "--tests", "1", "--window-ms", "1000", "--repeat", "30",
                            "--json", "run.json"], env=wine.env, cwd=folder,
                           stderr=subprocess.PIPE, text=True)
    lines = [run.stderr.readline() for _ in range(2)]
    check("sample 1 of 30" in lines[1], f"no progress: {lines!r}")
    quick = ["--tests", "1", "--window-ms", "50", "--offscreen", "64x64", "--quiet"]
    for extra, code in (([], 1), (["--help"], 0), (["--concurrent"], 0)):
        _, second, _, err = quenzel_run(wine, exe, *quick, *extra, timeout=60)
        check(second == code and ("another run is measuring; wait for its end with --wait, or "
                                  "measure beside it with --concurrent" in err) == (code == 1),
              f"a second run {extra}: exit code {second}, {err!r}")
    waiting = subprocess.Popen([winerun.WINE, exe, *quick, "--wait"], env=wine.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    check("waiting for its end" in waiting.stderr.readline() and waiting.poll() is None,
          "the run told to wait does not")
    poster = os.path.join(os.path.dirname(exe), "PostClose.exe")
    check(subprocess.run([winerun.WINE, poster, "QuenzelRunForm", "QuenzelRun"], env=wine.env,
                         timeout=120).returncode == 0, "no window to post WM_CLOSE to")
    code, err = run.wait(timeout=60), run.stderr.read()
    check(code == 130 and "window was closed" in err and os.listdir(folder) == [],
          f"exit code {code}, {err!r}, {os.listdir(folder)}")
    check(waiting.wait(timeout=60) == 0, "the waiting run did not run after the first")


def case_run_long(wine, exe, handheld):
    """A minute of 1 ms windows with their ceiling, until known to 0.1 %: a thousand or
    so samples a side (at least 500 under load), every one of them in the files, and
    the closing line says how far it got."""
    folder, code, out, err = quenzel_run(wine, exe, "--tests", "Pixel", "--window-ms", "1",
                                         "--raw", "--precision", "0.1", "--max-seconds", "60",
                                         "--quiet", "--json", "run.json", "--csv", "run.csv")
    with open(os.path.join(folder, "run.json")) as f:
        pixel = json.load(f)["tests"][0]
    with open(os.path.join(folder, "run.csv")) as f:
        rows = sum(1 for row in f if row.startswith("sample,"))
    n = len(pixel["samples"])
    check(code == 0 and n >= 500 and len(pixel["raw_samples"]) == n == rows and
          re.search(r"^Pixel (reached|did not reach) \u00b10\.1 %", out, re.M),
          f"exit code {code}, {n} samples, {rows} rows, {out[-300:]!r} {err[-300:]!r}")


PROGRAMS = {"DQuenzel": "desktop", "DQuenzelCE": "handheld", "QuenzelRun": "desktop",
            "QuenzelRunCE": "handheld"}
# msimg32: TransparentBlt and AlphaBlend, part of every Windows since 2000.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll", "shell32.dll",
               "msimg32.dll"}
VISTA_TO_11 = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}


def check_program(exe, flavour, version):
    """Its imports, and its version block and manifest as windres reads them back."""
    def output(*command):
        return subprocess.run(command, capture_output=True, text=True, check=True).stdout

    dump = output("x86_64-w64-mingw32-objdump", "-p", exe)
    dlls = {m.lower() for m in re.findall(r"DLL Name: (\S+)", dump)}
    check(dlls and dlls <= SYSTEM_DLLS, f"{exe} imports {sorted(dlls)}")
    rc = output("x86_64-w64-mingw32-windres", "-i", exe, "-O", "rc")
    numbers = (version.split(".") + ["0"] * 4)[:4]
    name = os.path.basename(exe)
    values = dict(re.findall(r'VALUE "(\w+)", "([^"]*)"', rc))
    check(f" FILEVERSION {', '.join(numbers)}\n PRODUCTVERSION {', '.join(numbers)}\n" in rc and
          values["FileVersion"] == values["ProductVersion"] == version and
          values["OriginalFilename"] == name and values["ProductName"] == "Norvale Quenzel" and
          values["FileDescription"].endswith(f"({flavour} flavour)"), f"{name}: {values}")
    block = rc[rc.index("1 24 /* RT_MANIFEST */"):]
    text = "".join(re.findall(r'^  "(.*)"$', block[:block.index("\nEND")], re.M))
    text = text.replace('""', '"').replace("\\n", "\n")
    manifest = ElementTree.fromstring(text)

    def first(tag):
        return next(e for e in manifest.iter() if e.tag.endswith("}" + tag))
    systems = {e.get("Id") for e in manifest.iter() if e.tag.endswith("}supportedOS")}
    check(first("assemblyIdentity").get("version") == ".".join(numbers) and
          first("requestedExecutionLevel").get("level") == "asInvoker" and
          systems == VISTA_TO_11 and first("dpiAware").text == "true/pm" and
          first("dpiAwareness").text == "PerMonitorV2, PerMonitor", f"{name}'s manifest: {text}")


def check_release(cpack, config, version, bits):
    """The zip holds the four programs and the three texts, nothing else."""
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([cpack, "--config", config, "-B", folder], capture_output=True, check=True)
        with zipfile.ZipFile(os.path.join(folder, f"NorvaleQuenzel-{version}-win{bits}.zip")) as archive:
            print("\n".join(f"{i.file_size:9} {i.filename}" for i in archive.infolist()))
            names = sorted(archive.namelist())
            texts = ["QuenzelRun-example.ini", "README.txt", "START.txt"]
            check(names == sorted([p + ".exe" for p in PROGRAMS] + texts), f"it holds {names}")
            archive.extractall(folder)
        # Its reader has Windows and the zip: nothing of the machines it is built on.
        with open(os.path.join(folder, "README.txt"), newline="") as f:
            readme = f.read()
        elsewhere = re.findall(r"Debian|Wine|Linux|run\.sh|scripts/|apt-get|@\w+@", readme)
        check(not elsewhere and "\r\n" in readme, f"README.txt names {elsewhere}")
        for program, flavour in PROGRAMS.items():
            check_program(os.path.join(folder, program + ".exe"), flavour, version)


def check_alternate():
    """scripts/alternate compares the runs of its own call alone, with the program as
    named, the wrapper's --handheld included; here with a stand-in that saves its
    arguments where --json says, or prints them."""
    folder = tempfile.mkdtemp(prefix="alternate-")
    fake = os.path.join(folder, "fake")
    with open(fake, "w") as f:
        f.write('#!/bin/sh\nfor a; do last=$a; done\n'
                'case " $* " in *" --json "*) echo "$*" > "$last" ;; *) echo "$*" ;; esac\n')
    os.chmod(fake, 0o755)
    for count in ("3", "2"):
        run = subprocess.run([os.path.join(ROOT, "scripts", "alternate"), count, folder, "--", fake,
                              "--handheld", "--x", "--", fake, "--handheld", "--x"],
                             capture_output=True, text=True, timeout=60)
        check(run.returncode == 0, f"exit code {run.returncode}: {run.stderr}")
    words = run.stdout.split()
    found = [len(glob.glob(words[words.index(option) + 1])) for option in ("--from", "--compare")]
    check(words[0] == "--handheld" and found == [2, 2], f"compared {words}: {found}")


def main(argv):
    if len(argv) == 2 and argv[1] == "alternate":
        try:
            check_alternate()
        except Failure as failure:
            print(f"FAILED: {failure}")
            return 1
        return 0
    if len(argv) == 3 and argv[1] == "setup":
        display, wine = winerun.open_session(WIDTH, HEIGHT)
        with open(argv[2], "w") as f:
            json.dump({"display": display.name, "xvfb": display.process.pid, "prefix": wine.prefix}, f)
        return 0
    if len(argv) == 6 and argv[1] == "imports":
        try:
            check_release(*argv[2:])
        except Failure as failure:
            print(f"FAILED: {failure}")
            return 1
        return 0
    with open(argv[-1]) as f:
        state = json.load(f)
    wine = winerun.Wine(state["display"], WIDTH, HEIGHT, prefix=state["prefix"])
    if argv[1] == "cleanup":
        wine.own_prefix = True
        wine.close()
        try:
            os.kill(state["xvfb"], signal.SIGTERM)
        except ProcessLookupError:  # already gone: nothing left to stop
            pass
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
