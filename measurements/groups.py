#!/usr/bin/python3
"""Makes the measurements of groups of runs, under Wine on a virtual 1024 x 768 x 24
display, each run off screen (800 x 600, 300 ms windows, 5 samples a test, all seven
tests) and pinned to logical processor 0:

    measurements/groups.py EXE alternate|single|ab|offline...

  alternate  A/A in one command: --runs 12 --alternate with a copy of EXE; then the
             --fail-slower 5 gate on the two groups
  single     A/A offline: twelve single runs one after another, compared as two
             alternated groups (odd runs against even runs); beside it every pair of
             the twelve compared single run against single run (66 pairs, 462 tests)
  ab         A/B offline: twelve single runs, a busy loop sharing processor 0 during
             every second one (its share of the processor read from Linux); the busy
             runs compared with the quiet ones, and the --fail-slower 5 gate
  offline    the single runs' comparison twice without a display: the same table

Each writes groups-NAME.txt (the tables and figures) and its runs' files in
groups/ beside this script."""
import glob
import json
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import winerun  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
RUNS = os.path.join(HERE, "groups")
SETTING = ["--offscreen", "800x600", "--window-ms", "300", "--repeat", "5", "--affinity", "0",
           "--quiet"]


def quenzel_run(wine, exe, *args, codes=(0,), env=None):
    run = subprocess.run([winerun.WINE, exe, *args], env=env or wine.env, cwd=RUNS,
                         capture_output=True, text=True)
    if run.returncode not in codes:
        raise RuntimeError(f"QuenzelRun {args}: exit code {run.returncode}: {run.stderr}")
    return run


def processor_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def verdicts(path):
    with open(os.path.join(RUNS, path)) as f:
        return [c["verdict"] for c in json.load(f)["comparisons"]]


def called(found):
    return sum(v in ("faster", "slower") for v in found)


def single_runs(wine, exe, name, busy_every=0):
    """Twelve single runs into NAME-01.json...; with busy_every 2, a busy loop shares
    processor 0 during the even ones. Returns the busy loop's shares."""
    shares = []
    for i in range(1, 13):
        busy = None
        if busy_every and i % busy_every == 0:
            busy = subprocess.Popen(["taskset", "-c", "0", sys.executable, "-c",
                                     "while True: pass"])
            start, used = time.monotonic(), processor_seconds(busy.pid)
        try:
            quenzel_run(wine, exe, *SETTING, "--json", f"{name}-{i:02d}.json")
            if busy:
                shares.append((processor_seconds(busy.pid) - used) / (time.monotonic() - start))
        finally:
            if busy:
                busy.kill()
                busy.wait()
    return shares


def group_files(name, parity):
    for path in sorted(glob.glob(os.path.join(RUNS, f"{name}-*.json"))):
        number = int(path[-7:-5])
        target = os.path.join(RUNS, f"{name}-{'odd' if number % 2 else 'even'}-{number:02d}.json")
        if number % 2 == parity:
            shutil.copyfile(path, target)


def measure(wine, exe, name):
    out = [f"load before: {open('/proc/loadavg').read().strip()}"]
    if name == "alternate":
        shutil.copyfile(exe, os.path.join(RUNS, "copy.exe"))
        run = quenzel_run(wine, exe, *SETTING, "--runs", "12", "--alternate", "copy.exe",
                          "--json", "alternate.json")
        out.append(run.stdout)
        out.append(f"A/A --runs 12 --alternate: called different {called(verdicts('alternate.json'))}"
                   " of 7")
        gate = quenzel_run(wine, exe, "--from", "alternate.json", "--compare",
                           "alternate-other.json", "--fail-slower", "5", codes=(0, 4))
        out.append(f"gate --fail-slower 5 on the A/A groups: exit code {gate.returncode}")
        os.remove(os.path.join(RUNS, "copy.exe"))
    elif name in ("single", "ab"):
        shares = single_runs(wine, exe, name, 2 if name == "ab" else 0)
        for parity in (0, 1):
            group_files(name, parity)
        run = quenzel_run(wine, exe, "--from", f"{name}-even-*.json", "--compare",
                          f"{name}-odd-*.json", "--json", f"{name}-groups.json", "--fail-slower",
                          "5", codes=(0, 4))
        out.append(run.stdout)
        out.append(f"{name}: even runs against odd runs as groups: called different "
                   f"{called(verdicts(name + '-groups.json'))} of 7; gate --fail-slower 5: exit "
                   f"code {run.returncode}")
        if shares:
            mean = sum(shares) / len(shares)
            out.append("busy loop's share of processor 0 in each busy run: " +
                       " ".join(f"{s:.3f}" for s in shares) +
                       f"; mean {mean:.3f}, so the true ratio busy/quiet is about {1 - mean:.3f}")
        if name == "single":
            pairs = found = 0
            for i in range(1, 12):
                olds = [x for j in range(i + 1, 13) for x in ("--compare", f"single-{j:02d}.json")]
                quenzel_run(wine, exe, "--from", f"single-{i:02d}.json", *olds, "--json",
                            "pairs.json")
                v = verdicts("pairs.json")
                pairs += len(v)
                found += called(v)
            out.append(f"pairwise single run against single run: {found} of {pairs} comparisons "
                       f"called faster or slower at 99 % ({100 * found / pairs:.0f} %)")
    else:
        tables = []
        env = {k: v for k, v in wine.env.items() if k != "DISPLAY"}
        for _ in range(2):
            tables.append(quenzel_run(wine, exe, "--from", "single-even-*.json", "--compare",
                                      "single-odd-*.json", env=env).stdout)
        out.append(tables[0])
        out.append(f"offline without DISPLAY, twice: tables identical: {tables[0] == tables[1]}")
    out.append(f"load after: {open('/proc/loadavg').read().strip()}\n")
    with open(os.path.join(HERE, f"groups-{name}.txt"), "w") as f:
        f.write("\n".join(out))
    print("\n".join(out), flush=True)


def main(argv):
    names = argv[2:]
    if len(argv) < 3 or any(n not in ("alternate", "single", "ab", "offline") for n in names):
        print(__doc__, file=sys.stderr)
        return 2
    os.makedirs(RUNS, exist_ok=True)
    display = winerun.Display()
    wine = winerun.Wine(display.name, display.width, display.height)
    try:
        wine.init()
        for name in names:
            measure(wine, os.path.abspath(argv[1]), name)
    finally:
        wine.close()
        display.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
