#!/usr/bin/env python3
"""End-to-end tests: the real DQuenzel.exe and DQuenzelCE.exe under Wine on a
virtual X display, driven with real key presses and clicks and checked on
screenshots.

    e2e.py setup STATE            start Xvfb and a fresh Wine prefix
    e2e.py cleanup STATE          stop them and remove the prefix
    e2e.py CASE EXE STATE         run one case against one program

Screens are compared exactly (the display is 24-bit, so GDI's colours arrive
unchanged); texts are read with tesseract, whose usual confusions (l and I, o and O)
are folded before comparing.
"""
import difflib
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
from winerun import WHITE, Layout, wait_intro, wait_stable_screen, wait_until  # noqa: E402

WIDTH, HEIGHT = 1024, 768
NAMES = ["Pixel", "Line", "Rectangle", "RoundRect", "Ellipse", "BitBlt", "TextOut"]
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}
GREY = (127, 127, 127)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# Reading the screen.

def ocr(image, box, digits=False):
    """The text in box, read by tesseract from an enlarged copy."""
    crop = image.crop(box)
    crop = crop.resize((crop.width * 3, crop.height * 3))
    args = ["tesseract", "stdin", "stdout", "--psm", "7"]
    if digits:
        args += ["-c", "tessedit_char_whitelist=0123456789"]
    from io import BytesIO
    buffer = BytesIO()
    crop.save(buffer, format="PNG")
    out = subprocess.run(args, input=buffer.getvalue(), capture_output=True, check=True).stdout
    return out.decode().strip()


def fold(text):
    folded = text.translate(str.maketrans("I|1O0", "lllOO")).lower()
    return re.sub(r"\s+", " ", folded).strip()


def same_text(read, expected):
    return fold(read) == fold(expected)


def closest(read, candidates):
    """The candidate most like what was read."""
    return max(candidates, key=lambda c: difflib.SequenceMatcher(None, fold(read), fold(c)).ratio())


def dark(pixel):
    return sum(pixel) < 384


def ink_columns(image, box):
    """Columns of box (relative) that hold dark pixels."""
    crop = image.crop(box)
    return [x for x in range(crop.width) if any(dark(crop.getpixel((x, y))) for y in range(crop.height))]


def last_word(image, box):
    """The dark-pixel mask of the last word in box, trimmed to its ink: words are
    separated by more blank columns (a space) than the digits of a number are."""
    columns = ink_columns(image, box)
    check(columns, f"no text in {box}")
    start = columns[-1]
    for x in reversed(columns):
        if start - x > 6:
            break
        start = x
    crop = image.crop((box[0] + start, box[1], box[0] + columns[-1] + 1, box[3]))
    rows = [tuple(dark(crop.getpixel((x, y))) for x in range(crop.width))
            for y in range(crop.height)]
    inked = [y for y, row in enumerate(rows) if any(row)]
    return tuple(rows[inked[0]:inked[-1] + 1])


def button_box(image, x, y):
    """The bounds (left, top, right, bottom, inclusive) of the non-white area
    around (x, y) along its row and column."""
    def extent(step, fixed, start, limit, horizontal):
        at = start
        while 0 <= at + step < limit:
            p = (at + step, fixed) if horizontal else (fixed, at + step)
            if image.getpixel(p) == WHITE:
                break
            at += step
        return at
    return (extent(-1, y, x, image.width, True), extent(-1, x, y, image.height, False),
            extent(1, y, x, image.width, True), extent(1, x, y, image.height, False))


def client_box(layout, x0, y0, x1, y1):
    return (layout.left + x0, layout.top + y0, layout.left + x1, layout.top + y1)


# The generators, to know the source bitmap's stripe colours.

def lcg_draws():
    seed = 0
    while True:
        seed = (seed * 134775813 + 1) & 0xFFFFFFFF
        yield (seed * 256) >> 32


def mt_draws():
    state = [0] * 624
    for i in range(1, 624):
        state[i] = (1812433253 * (state[i - 1] ^ (state[i - 1] >> 30)) + i) & 0xFFFFFFFF
    index = 624
    while True:
        if index == 624:
            for i in range(624):
                y = (state[i] & 0x80000000) | (state[(i + 1) % 624] & 0x7FFFFFFF)
                state[i] = state[(i + 397) % 624] ^ (y >> 1) ^ (0x9908B0DF if y & 1 else 0)
            index = 0
        y = state[index]
        index += 1
        y ^= y >> 11
        y ^= (y << 7) & 0x9D2C5680
        y ^= (y << 15) & 0xEFC60000
        y ^= y >> 18
        yield (y * 256) >> 32


def stripe_colours(handheld, rows):
    draws = mt_draws() if handheld else lcg_draws()
    colours = []
    for _ in range(rows):
        blue, green, red = next(draws), next(draws), next(draws)
        colours.append((red, green, blue))
    return colours


# The session shared by all cases of one run.

def setup(state_path):
    display, wine = winerun.open_session(WIDTH, HEIGHT)
    with open(state_path, "w") as f:
        json.dump({"display": display.name, "xvfb": display.process.pid, "prefix": wine.prefix}, f)


def cleanup(state_path):
    if not os.path.exists(state_path):
        return
    with open(state_path) as f:
        state = json.load(f)
    wine = winerun.Wine(state["display"], WIDTH, HEIGHT, prefix=state["prefix"])
    wine.own_prefix = True
    wine.close()
    try:
        os.kill(state["xvfb"], signal.SIGTERM)
    except ProcessLookupError:
        pass
    os.remove(state_path)


def session(state_path):
    with open(state_path) as f:
        state = json.load(f)
    return winerun.Wine(state["display"], WIDTH, HEIGHT, prefix=state["prefix"])


def start(wine, exe):
    program = wine.start(exe)
    program.wait_window()
    subprocess.run(["xdotool", "mousemove", str(WIDTH // 2), "200"], env=wine.env, check=True)
    intro = wait_intro(program)
    return program, intro, Layout(intro, WIDTH, HEIGHT)


# The cases.

def case_intro(wine, exe, handheld):
    """The intro, its geometry, and Close clicked on it."""
    program, intro, layout = start(wine, exe)
    try:
        intro = wait_stable_screen(program, layout, (True, True), 10)
        # Geometry: the handheld covers the whole screen without a caption; the
        # desktop's drawing area is the maximised client area below its caption.
        if handheld:
            check(layout.top == 0, f"handheld client area starts at y {layout.top}, not 0")
        else:
            check(layout.top > 0, "the desktop window shows no caption")
        # The buttons as drawn: 80 x 22, 16 pixels in from either side, their bottom
        # edge 10 pixels above the screen's. Their white highlight on the top and left
        # edges merges with the white ground, so what shows starts one pixel in.
        for x in (layout.next_x, layout.close_x):
            box = button_box(intro, x + 40, layout.button_top + 10)
            check(box == (x + 1, HEIGHT - 31, x + 79, HEIGHT - 11), f"a button spans {box}")
        check(layout.close_x + 80 == WIDTH - 16, f"Close button at x {layout.close_x}")

        title = ocr(intro, client_box(layout, 0, 6, WIDTH, 32))
        check(same_text(title, "Norvale Quenzel (v0.1)"), f"title reads {title!r}")
        columns = ink_columns(intro, client_box(layout, 0, 8, WIDTH, 30))
        centre = (columns[0] + columns[-1]) / 2
        check(abs(centre - WIDTH / 2) <= 4, f"title centred on x {centre}")
        notice = ocr(intro, client_box(layout, 0, 46, WIDTH // 2, 64))
        check("norvale software" in fold(notice), f"notice reads {notice!r}")

        logo = intro.crop(client_box(layout, 8, 64, WIDTH - 8, layout.height - 48))
        pixels = list(logo.getdata())
        black = sum(1 for p in pixels if p == (0, 0, 0))
        check(black > len(pixels) // 10, f"the big 2D covers only {black} pixels")
        grey = sum(1 for p in pixels if p == GREY)
        if handheld:
            check(grey == 0, f"{grey} shadow pixels on the handheld")
        else:
            check(grey > 2000, f"the grey shadow shows only {grey} pixels")

        for x, label in [(layout.next_x, "Start"), (layout.close_x, "Close")]:
            read = ocr(intro, (x + 2, layout.button_top + 2, x + 78, layout.button_top + 20))
            check(same_text(read, label), f"button at x {x} reads {read!r}")

        program.click(layout.close_x + 40, layout.button_top + 11)
        code = program.exit_code(timeout=15)
        check(code == 0, f"exit code {code} after Close")
    finally:
        program.kill()


def case_second(wine, exe, handheld):
    """A second copy steps aside and leaves the first one showing."""
    first, intro, layout = start(wine, exe)
    try:
        before = wait_stable_screen(first, layout, (True, True), 10)
        began = time.monotonic()
        second = wine.start(exe)
        try:
            code = second.exit_code(timeout=30)
        finally:
            second.kill()
        check(code == 0, f"the second copy ended with {code}")
        check(time.monotonic() - began < 20, "the second copy took long to step aside")
        check(len(first.windows()) == 1, f"{len(first.windows())} main windows")
        check(first.running(), "the first copy ended")
        after = first.screenshot()
        check(after.tobytes() == before.tobytes(), "the first copy's screen changed")
        first.key("F2")
        check(first.exit_code(timeout=15) == 0, "the first copy did not end with 0 on F2")
    finally:
        first.kill()


def read_result(screen, layout, name):
    # Read as text, then taken as the most alike of the seven titles.
    title = ocr(screen, client_box(layout, 0, 6, WIDTH, 32))
    check(closest(title, [f"{n} Test" for n in NAMES]) == f"{name} Test",
          f"result title reads {title!r}, not {name} Test")
    line = ocr(screen, client_box(layout, 0, 46, WIDTH // 2, 64))
    check(re.fullmatch(r"Result: \S+", line.strip()), f"result line reads {line!r}")
    return last_word(screen, client_box(layout, 8, 48, WIDTH // 2, 62))


def case_pixel(wine, exe, handheld):
    """F1 twice runs one test; keys pressed during a test act after it."""
    program, intro, layout = start(wine, exe)
    try:
        # Both presses reach the queue before the 10 ms step timer ticks. (A second
        # press that comes after the tick waits out the test and then starts the next.)
        program.key("F1", "F1", delay=0)
        pressed = time.monotonic()
        time.sleep(1.5)
        during = program.screenshot()
        check(layout.buttons(during) == (False, False), "buttons shown while the test runs")
        # The intro was cleared (its black logo is gone) and pixels are being drawn.
        area = list(layout.client(during).crop((8, 64, WIDTH - 8, layout.height - 64)).getdata())
        black = sum(1 for p in area if p == (0, 0, 0))
        check(black < len(area) // 100, f"{black} black pixels: the intro was not cleared")
        check(len(set(area)) > 1000, "the Pixel test draws nothing")

        result = wait_stable_screen(program, layout, (True, True), 40)
        took = time.monotonic() - pressed
        check(took > 10, f"the result came {took:.1f} s after Start")
        read_result(result, layout, "Pixel")
        time.sleep(2)
        check(program.screenshot().tobytes() == result.tobytes(),
              "a second test started: the second F1 was not ignored")
        for x, label in [(layout.next_x, "Next"), (layout.close_x, "Close")]:
            read = ocr(result, (x + 2, layout.button_top + 2, x + 78, layout.button_top + 20))
            check(same_text(read, label), f"button at x {x} reads {read!r}")

        # F2 during the Line test waits in the queue until the test is over.
        program.key("F1")
        started = time.monotonic()
        time.sleep(3)
        program.key("F2")
        time.sleep(3)
        check(program.running(), "F2 acted during the test")
        code = program.exit_code(timeout=30)
        check(code == 0, f"exit code {code}")
        check(time.monotonic() - started > 10, "the program ended before the test's window")
    finally:
        program.kill()


def case_sequence(wine, exe, handheld):
    """The whole sequence; the BitBlt test copies only the source bitmap's stripes."""
    program, intro, layout = start(wine, exe)
    stripes = stripe_colours(handheld, layout.height)
    expected_top = (183, 151, 140) if handheld else (220, 8, 0)
    check(stripes[0] == expected_top, f"top stripe {stripes[0]}, not {expected_top}")
    allowed = set(stripes[:-1]) | {WHITE}
    scores = []
    try:
        for name in NAMES:
            program.key("F1")
            if name == "BitBlt":
                copied = 0
                for pause in (2, 3, 3):
                    time.sleep(pause)
                    area = layout.client(program.screenshot())
                    pixels = list(area.crop((0, 0, WIDTH - 1, layout.height - 1)).getdata())
                    stray = [p for p in pixels if p not in allowed]
                    check(not stray, f"{len(stray)} BitBlt pixels not from the source, e.g. {stray[:3]}")
                    copied += sum(1 for p in pixels if p != WHITE)
                check(copied > 1000, f"BitBlt copied only {copied} pixels")
            try:
                screen = wait_stable_screen(program, layout, (True, True), 60)
            except TimeoutError as timeout:
                last = program.screenshot()
                last.save(os.path.join(tempfile.gettempdir(), f"e2e-{name}-timeout.png"))
                raise Failure(f"{name}: {timeout}; running: {program.running()}; buttons "
                              f"{layout.buttons(last)}; screenshot in {tempfile.gettempdir()}")
            scores.append(read_result(screen, layout, name))

        program.key("F1")
        summary = wait_stable_screen(program, layout, (False, True), 30)
        title = ocr(summary, client_box(layout, 0, 6, WIDTH, 32))
        check(same_text(title, "Results"), f"summary title reads {title!r}")
        for i, name in enumerate(NAMES):
            y = 48 + 18 * i
            label = ocr(summary, client_box(layout, 0, y - 2, 98, y + 14))
            check(closest(label, [f"{n}:" for n in NAMES]) == f"{name}:",
                  f"row {i + 1} reads {label!r}")
            row = last_word(summary, client_box(layout, 100, y, 400, y + 14))
            check(row == scores[i], f"row {i + 1} does not show the score of its result screen")
        total = ocr(summary, client_box(layout, 0, 190, 98, 206))
        check(same_text(total, "TOTAL:"), f"total label reads {total!r}")
        value = ocr(summary, client_box(layout, 98, 186, 400, 206), digits=True)
        check(value.isdigit(), f"the TOTAL reads {value!r}")

        program.key("F1")
        time.sleep(1.5)
        check(program.screenshot().tobytes() == summary.tobytes(), "F1 changed the summary")
        check(program.running(), "F1 ended the program on the summary")
        program.key("F2")
        code = program.exit_code(timeout=15)
        check(code == 0, f"exit code {code} after F2")
    finally:
        program.kill()


def case_imports(exe):
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe], capture_output=True, text=True,
                          check=True).stdout
    dlls = {m.lower() for m in re.findall(r"DLL Name: (\S+)", dump)}
    check(dlls and dlls <= SYSTEM_DLLS, f"imports {sorted(dlls)}")


def case_celayer(wine, exe, handheld):
    run = subprocess.run(["wine", exe], env=wine.env, capture_output=True, text=True, timeout=60)
    print(run.stdout, end="")
    check(run.returncode == 42, f"exit code {run.returncode}, not 42")


# QuenzelRun.

def quenzel_run(wine, exe, args, folder, timeout=600):
    """Runs QuenzelRun in folder; returns (exit code, stdout, stderr)."""
    run = subprocess.run(["wine", exe, *args], env=wine.env, cwd=folder, capture_output=True,
                         text=True, timeout=timeout)
    return run.returncode, run.stdout, run.stderr


def check_setting(data, handheld, target, width, height, window_ms, repeat):
    check(data["program"] == "QuenzelRun" and data["version"] == "0.1", "program and version")
    check(data["flavour"] == ("handheld" if handheld else "desktop"), f"flavour {data['flavour']}")
    check(data["target"] == target, f"target {data['target']}")
    check((data["width"], data["height"]) == (width, height),
          f"drawing area {data['width']}x{data['height']}, not {width}x{height}")
    check(data["depth"] in (24, 32) and data["dpi"] > 0, f"depth {data['depth']}, dpi {data['dpi']}")
    check(re.fullmatch(r"\d+\.\d+\.\d+", data["windows"]), f"Windows version {data['windows']!r}")
    check(isinstance(data["wine"], str) and data["wine"], f"Wine version {data['wine']!r}")
    check(re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", data["utc"]), f"time {data['utc']!r}")
    check(data["window_ms"] == window_ms and data["repeat"] == repeat, "window and repeat")


def check_samples(test, window_ms, repeat):
    check(len(test["samples"]) == repeat, f"{test['name']}: {len(test['samples'])} samples")
    for sample in test["samples"]:
        check(sample["tick_ms"] > window_ms, f"{test['name']}: window {sample['tick_ms']} ms")
        expected = (sample["count"] // 10 if window_ms == 10000
                    else sample["count"] * 1000 // sample["tick_ms"])
        check(sample["per_second"] == expected, f"{test['name']}: score {sample['per_second']}, "
              f"not {expected} from {sample['count']} calls")
        rate = sample["count"] * 1000 / sample["qpc_ms"]
        check(abs(sample["rate"] - rate) <= rate * 0.001 + 0.1, f"{test['name']}: rate")
        check(abs(sample["qpc_ms"] - sample["tick_ms"]) < 50, f"{test['name']}: clocks disagree")


def case_run_window(wine, exe, handheld):
    """Seven tests on the window, three short samples each, saved as JSON and CSV."""
    import csv
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    code, out, err = quenzel_run(wine, exe, ["--window-ms", "200", "--repeat", "3", "--json",
                                             "run.json", "--csv", "run.csv"], folder)
    check(code == 0, f"exit code {code}: {err}")
    with open(os.path.join(folder, "run.json")) as f:
        data = json.load(f)
    # The handheld covers the screen; the desktop's window has a caption.
    height = HEIGHT if handheld else data["height"]
    check(height < HEIGHT or handheld, "the desktop's drawing area is the whole screen")
    check_setting(data, handheld, "window", WIDTH, height, 200, 3)
    check([t["name"] for t in data["tests"]] == NAMES, "the tests and their order")
    for test in data["tests"]:
        check_samples(test, 200, 3)
    check(f"TOTAL: {data['total']}" in out, "the printed TOTAL is not the saved one")
    for name in NAMES:
        check(re.search(rf"^{name} +\d+", out, re.M), f"no row for {name} in the table")

    with open(os.path.join(folder, "run.csv"), newline="") as f:
        rows = list(csv.DictReader(f))
    kinds = [row["record"] for row in rows]
    check(kinds.count("sample") == 21 and kinds.count("summary") == 7, "CSV rows")
    settings = {row["key"]: row["value"] for row in rows if row["record"] == "setting"}
    check(settings["flavour"] == data["flavour"] and settings["window_ms"] == "200", "CSV setting")
    first = next(row for row in rows if row["record"] == "sample")
    check(int(first["count"]) == data["tests"][0]["samples"][0]["count"], "CSV and JSON differ")


def case_run_offscreen(wine, exe, handheld):
    """Seven tests off screen, with the platform ceiling."""
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    code, out, err = quenzel_run(wine, exe, ["--offscreen", "320x200", "--window-ms", "200",
                                             "--repeat", "3", "--raw", "--json", "o.json"], folder)
    check(code == 0, f"exit code {code}: {err}")
    with open(os.path.join(folder, "o.json")) as f:
        data = json.load(f)
    check_setting(data, handheld, "offscreen", 320, 200, 200, 3)
    check([t["name"] for t in data["tests"]] == NAMES, "the tests and their order")
    for test in data["tests"]:
        check_samples(test, 200, 3)
        raw = test["raw_samples"]
        check(len(raw) == 3 and all(r["calls"] > 0 and r["qpc_ms"] > 200 for r in raw),
              f"{test['name']}: raw samples {raw}")
        efficiency = test["rate_median"] / test["raw_median"]
        check(abs(test["efficiency"] - efficiency) < 1e-3 and 0.2 < efficiency < 5,
              f"{test['name']}: efficiency {test['efficiency']}")
    check("eff." in out, "the table has no efficiency column")


def case_run_score(wine, exe, handheld):
    """The default window: the score is the interactive program's, count div 10."""
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    code, out, err = quenzel_run(wine, exe, ["--tests", "1", "--json", "s.json"], folder)
    check(code == 0, f"exit code {code}: {err}")
    with open(os.path.join(folder, "s.json")) as f:
        data = json.load(f)
    check_samples(data["tests"][0], 10000, 1)
    check(f"TOTAL: {data['tests'][0]['samples'][0]['count'] // 10}" in out, "TOTAL")


def drawn(path):
    image = Image.open(path).convert("RGB")
    return {(x, y): p for (x, y), p in zip(
        ((i % image.width, i // image.width) for i in range(image.width * image.height)),
        image.getdata()) if p != WHITE}


def case_run_restart(wine, exe, handheld):
    """A second sample draws the same first pixels as a fresh start: the generator
    really starts afresh. (The snapshot is of the last sample's first test.)"""
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    pictures = []
    for name, repeat in (("a.bmp", "1"), ("b.bmp", "2")):
        code, out, err = quenzel_run(wine, exe, ["--tests", "1", "--window-ms", "2", "--repeat",
                                                 repeat, "--snapshot", name], folder)
        check(code == 0, f"exit code {code}: {err}")
        pictures.append(drawn(os.path.join(folder, name)))
    fewer, more = sorted(pictures, key=len)
    check(len(fewer) > 100, f"only {len(fewer)} pixels drawn")
    # The shorter run's pixels are a prefix of the longer's: each is there in the same
    # colour unless a later pixel of the longer run fell on it, which a few percent
    # do. Runs that drew different sequences would agree on almost none.
    same = sum(1 for xy, p in fewer.items() if more.get(xy) == p)
    check(same >= len(fewer) * 0.95, f"only {same} of {len(fewer)} pixels agree")


def case_run_errors(wine, exe, handheld):
    """Bad input: one line naming the culprit, exit code 2, no file touched."""
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    with open(os.path.join(folder, "keep.json"), "w") as f:
        f.write("precious")
    with open(os.path.join(folder, "bad.json"), "w") as f:
        f.write("{\"tests\": [1, 2")
    os.mkdir(os.path.join(folder, "sub"))
    outputs = ["--json", "keep.json", "--csv", "new.csv"]
    cases = [
        (outputs + ["--bogus"], "--bogus"),
        (outputs + ["--tests", "Pixel,Sprite"], "Sprite"),
        (outputs + ["--tests", "9"], "9"),
        (outputs + ["--tests", "1,6", "stray"], "stray"),
        (outputs + ["--window-ms", "0"], "0"),
        (outputs + ["--window-ms", "600001"], "600001"),
        (outputs + ["--offscreen", "640by480"], "640by480"),
        (outputs + ["--compare", "missing.json"], "missing.json"),
        (outputs + ["--compare", "bad.json"], "bad.json"),
        (outputs + ["--svg", "--raw"], "--raw"),
        (["--csv", "new.csv", "--json", "no/such/folder/x.json"], "no/such/folder/x.json"),
        (["--csv", "new.csv", "--json", "sub"], "sub"),
        (["--csv", "keep.json", "--json", "keep.json"], "keep.json"),
    ]
    for args, culprit in cases:
        code, out, err = quenzel_run(wine, exe, args, folder, timeout=60)
        lines = err.strip().splitlines()
        check(code == 2, f"{args}: exit code {code}")
        check(len(lines) == 1 and culprit in lines[0], f"{args}: said {err!r}")
        check(sorted(os.listdir(folder)) == ["bad.json", "keep.json", "sub"],
              f"{args}: files touched")
        with open(os.path.join(folder, "keep.json")) as f:
            check(f.read() == "precious", f"{args}: keep.json changed")


def case_run_compare(wine, exe, handheld):
    """A comparison with a recorded run, and its chart."""
    import xml.etree.ElementTree as ElementTree
    folder = tempfile.mkdtemp(prefix="quenzelrun-")
    old = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data", "old-run.json")
    code, out, err = quenzel_run(wine, exe, ["--tests", "1,6", "--window-ms", "100", "--compare",
                                             old, "--svg", "c.svg"], folder)
    check(code == 0, f"exit code {code}: {err}")
    check("vs old" in out, "no comparison column")
    for name in ("Pixel", "BitBlt"):
        check(re.search(rf"^{name} .* \d+\.\d{{3}}( \*)?$", out, re.M), f"no ratio for {name}")
    svg = ElementTree.parse(os.path.join(folder, "c.svg")).getroot()
    bars = [r.get("class") for r in svg.iter("{http://www.w3.org/2000/svg}rect") if r.get("class")]
    check(bars.count("new") == 2 and bars.count("old") == 2, f"bars {bars}")


CASES = {"celayer": case_celayer, "run-window": case_run_window,
         "run-offscreen": case_run_offscreen, "run-score": case_run_score,
         "run-restart": case_run_restart, "run-errors": case_run_errors,
         "run-compare": case_run_compare, "intro": case_intro, "second": case_second, "pixel": case_pixel,
         "sequence": case_sequence}


def main(argv):
    if len(argv) == 3 and argv[1] in ("setup", "cleanup"):
        (setup if argv[1] == "setup" else cleanup)(argv[2])
        return 0
    if len(argv) == 3 and argv[1] == "imports":
        case = lambda: case_imports(argv[2])  # noqa: E731
    elif len(argv) == 4 and argv[1] in CASES:
        exe, wine = argv[2], session(argv[3])
        handheld = os.path.splitext(os.path.basename(exe))[0].lower().endswith("ce")
        case = lambda: CASES[argv[1]](wine, exe, handheld)  # noqa: E731
    else:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        case()
    except (Failure, TimeoutError) as failure:
        print(f"FAILED: {argv[1]} {os.path.basename(argv[2])}: {failure}")
        return 1
    print(f"passed: {argv[1]} {os.path.basename(argv[2])}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
