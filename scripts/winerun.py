#!/usr/bin/env python3
"""Runs DQuenzel.exe or DQuenzelCE.exe under Wine on an X display and drives it as a
user would: real key presses and clicks through xdotool, screenshots of the screen.

Used by run.sh and by the end-to-end tests. The programs run inside a Wine virtual
desktop of the display's size, where maximising and full screen behave as on
Windows, in a Wine prefix of our own.

    winerun.py show EXE            run the program on $DISPLAY until it ends
    winerun.py walk EXE OUTDIR     on a virtual display: step through every screen
                                   with F1, F2 on the summary; save a PNG of each
    winerun.py console EXE ARG...  run a console program (QuenzelRun) on a virtual
                                   1024 x 768 x 24 display; its output and exit code
"""
import io
import os
import shutil
import subprocess
import sys
import tempfile
import time

from PIL import Image

TITLE = "Norvale Quenzel"
# 64-bit Wine, named directly: /usr/bin/wine picks the 32-bit loader whenever wine32 is
# installed, and many kernels (this one among them) run no 32-bit code at all.
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
WHITE = (255, 255, 255)


def wait_until(predicate, timeout, interval=0.2, what="condition"):
    """Polls predicate until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Display:
    """A private Xvfb server with a fixed size and 24-bit depth."""

    def __init__(self, width=1024, height=768):
        self.width, self.height = width, height
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()  # written once the server accepts clients
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)


class Wine:
    """A Wine prefix of our own whose programs run in a virtual desktop of the
    display's size."""

    def __init__(self, display_name, width, height, prefix=None):
        self.own_prefix = prefix is None
        self.prefix = prefix or tempfile.mkdtemp(prefix="quenzel-wine-")
        self.env = dict(os.environ, DISPLAY=display_name, WINEPREFIX=self.prefix,
                        WINEARCH="win64", WINELOADER=WINE, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        self.width, self.height = width, height

    def init(self):
        """Creates the prefix (once) and sets the desktop size, all settings in one
        program: a wineserver lingers a moment after its last program and then ends,
        and a program that meets it ending fails, as one did on a busy machine."""
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            self.run([WINE, "wineboot", "-i"])
            self.run([WINESERVER, "-w"])
        settings = os.path.join(self.prefix, "quenzel.reg")
        with open(settings, "w") as f:
            f.write("Windows Registry Editor Version 5.00\n\n"
                    "[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n\"Desktop\"=\"Default\"\n\n"
                    "[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"
                    f"\"Default\"=\"{self.width}x{self.height}\"\n\n"
                    "[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"
                    "\"ShowCrashDialog\"=dword:00000000\n")
        self.run([WINE, "reg", "import", "Z:" + settings.replace("/", "\\")])
        self.run([WINESERVER, "-w"])
        return self

    def stay(self):
        """Keeps a wineserver, and Wine's services and desktop, until close(). Started
        here with no output of a caller's to hold, they spare each later program the
        seconds of a new wineserver's start and of its lingering end, through which a
        caller that reads the program's output through pipes would wait."""
        subprocess.run([WINESERVER, "-p"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        self.run([WINE, "cmd", "/c", "exit"])
        return self

    def run(self, args):
        subprocess.run(args, env=self.env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300)

    def start(self, exe):
        return Program(self, exe)

    def close(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL)
        if self.own_prefix:
            shutil.rmtree(self.prefix, ignore_errors=True)


class Program:
    """One process of the benchmark and what a user sees of it."""

    def __init__(self, wine, exe):
        self.wine = wine
        self.env = wine.env
        self.process = subprocess.Popen([WINE, exe], env=wine.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    # The process.

    def exit_code(self, timeout):
        return self.process.wait(timeout=timeout)

    def running(self):
        return self.process.poll() is None

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()

    # Windows, input and the screen.

    def windows(self):
        found = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$"], env=self.env,
                               capture_output=True, text=True)
        return found.stdout.split()

    def wait_window(self, timeout=60):
        return wait_until(self.windows, timeout, what="the main window")[0]

    def key(self, *keys, delay=30):
        """Presses and releases each key, delay milliseconds apart."""
        subprocess.run(["xdotool", "key", "--delay", str(delay), *keys], env=self.env, check=True)

    def click(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=self.env,
                       check=True)
        # Leave the pointer over the drawing area but clear of the buttons.
        subprocess.run(["xdotool", "mousemove", str(self.wine.width // 2), "200"], env=self.env,
                       check=True)

    def screenshot(self):
        png = subprocess.run(["import", "-window", "root", "png:-"], env=self.env, check=True,
                             capture_output=True).stdout
        return Image.open(io.BytesIO(png)).convert("RGB")


class Layout:
    """Where the client area and the buttons are, read off the intro screen: the
    client area is the white area below any caption, and the buttons sit 32 pixels
    above its bottom edge."""

    def __init__(self, intro, width, height):
        self.top = next(y for y in range(height) if intro.getpixel((2, y)) == WHITE)
        self.left = 0
        self.width = width
        self.bottom = height  # the client area reaches the screen's bottom edge
        self.height = self.bottom - self.top
        self.button_top = self.top + self.height - 32
        self.next_x = self.left + 16
        self.close_x = self.left + self.width - 96
        self.face = intro.getpixel((self.next_x + 4, self.button_top + 3))

    def has_button(self, image, x):
        y = self.button_top
        points = [(x + 4, y + 3), (x + 40, y + 2), (x + 75, y + 3), (x + 4, y + 18),
                  (x + 75, y + 18)]
        return all(image.getpixel(p) == self.face for p in points)

    def buttons(self, image):
        return (self.has_button(image, self.next_x), self.has_button(image, self.close_x))

    def client(self, image):
        return image.crop((self.left, self.top, self.left + self.width, self.bottom))


def wait_intro(program, timeout=60, settle=0.4):
    """Waits for the intro: the Start and Close buttons on the bottom row, on a screen
    that stays the same between two screenshots (the buttons' colours are read off it)."""
    width, height = program.wine.width, program.wine.height

    def check():
        shot = program.screenshot()
        face = shot.getpixel((20, height - 29))
        same = [shot.getpixel((80, height - 29)), shot.getpixel((width - 30, height - 29))]
        if face == WHITE or same != [face, face]:
            return None
        time.sleep(settle)
        return shot if program.screenshot().tobytes() == shot.tobytes() else None

    return wait_until(check, timeout, what="the intro")


def wait_stable_screen(program, layout, want, timeout, settle=0.4, differs=None):
    """Waits until the screen shows the buttons `want` (Next, Close), is not the image
    `differs`, and stays the same between two screenshots; returns that screenshot."""

    def check():
        first = program.screenshot()
        if layout.buttons(first) != want or first.tobytes() == differs:
            return None
        time.sleep(settle)
        second = program.screenshot()
        return second if second.tobytes() == first.tobytes() else None

    return wait_until(check, timeout, interval=0.3, what=f"a screen with buttons {want}")


def press_next(program, layout, shown, want, timeout=120):
    """Presses F1 on the screen `shown` and waits for what it leads to: a settled screen
    with the buttons `want` that is not `shown` (each screen has a title of its own).
    Returns that screen and the seconds it took."""
    began = time.monotonic()
    program.key("F1")
    screen = wait_stable_screen(program, layout, want, timeout,
                                differs=shown.tobytes())
    return screen, time.monotonic() - began


def open_session(width=1024, height=768):
    display = Display(width, height)
    try:
        wine = Wine(display.name, width, height).init().stay()
    except Exception:
        display.close()
        raise
    return display, wine


SCREENS = ["intro"] + [f"result-{i}" for i in range(1, 8)] + ["summary"]


def walk_program(program, outdir, last_key="F2"):
    """Steps a started program through intro, seven results and summary with F1, saving
    each screen as a PNG and saying how long each took to come; then presses last_key on
    the summary. Returns the exit code."""
    subprocess.run(["xdotool", "mousemove", str(program.wine.width // 2), "200"],
                   env=program.env, check=True)
    screen = wait_intro(program)
    layout = Layout(screen, program.wine.width, program.wine.height)
    screen = wait_stable_screen(program, layout, (True, True), timeout=10)
    for index, name in enumerate(SCREENS):
        if index:
            # A test runs about ten seconds before its result appears.
            want = (False, True) if name == "summary" else (True, True)
            screen, seconds = press_next(program, layout, screen, want)
            print(f"saved {name} after {seconds:.1f} s", flush=True)
        else:
            print(f"saved {name}", flush=True)
        screen.save(os.path.join(outdir, f"{index}-{name}.png"))
    program.key(last_key)
    return program.exit_code(timeout=30)


def walk(exe, outdir):
    """walk_program on a virtual display of its own and Wine's prefix kept for it."""
    os.makedirs(outdir, exist_ok=True)
    display = Display()
    program = None
    try:
        wine = Wine(display.name, display.width, display.height, prefix=kept_prefix()).init()
        try:
            program = wine.start(exe)
            program.wait_window()
            return walk_program(program, outdir)
        finally:
            if program is not None:
                program.kill()
            wine.close()
    finally:
        display.close()


def kept_prefix():
    """The Wine prefix kept between runs, made on the first."""
    prefix = os.environ.get("WINEPREFIX") or os.path.join(
        os.environ.get("XDG_CACHE_HOME", os.path.expanduser("~/.cache")), "norvale-quenzel-wine")
    os.makedirs(prefix, exist_ok=True)
    return prefix


def show(exe):
    width, height = screen_size(os.environ["DISPLAY"])
    wine = Wine(os.environ["DISPLAY"], width, height, prefix=kept_prefix()).init()
    return wine.start(exe).exit_code(timeout=None)


def screen_size(display_name):
    info = subprocess.run(["xdpyinfo", "-display", display_name], capture_output=True,
                          text=True, check=True).stdout
    for line in info.splitlines():
        if "dimensions:" in line:
            width, height = line.split()[1].split("x")
            return int(width), int(height)
    raise RuntimeError("cannot read the display's size")


def console(exe, args):
    display, wine = open_session()
    try:
        return subprocess.run([WINE, exe, *args], env=wine.env).returncode
    finally:
        wine.close()
        display.close()


def main(argv):
    if len(argv) >= 3 and argv[1] == "console":
        return console(argv[2], argv[3:])
    if len(argv) == 3 and argv[1] == "show":
        return show(argv[2])
    if len(argv) == 4 and argv[1] == "walk":
        return walk(argv[2], argv[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
