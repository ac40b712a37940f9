#!/usr/bin/env python3
"""readme.py: runs every command block README.md marks as runnable here (an HTML comment
"runnable" on the line before it), in order, from the repository's folder, as a user
would, but with short windows and few samples: --window-ms 20, --repeat 2, --runs 2,
two alternations. The wrapper gets a display and prefix of its own, ended afterwards."""
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SHORTER = [(r"--window-ms \d+", "--window-ms 20"), (r"--repeat \d+", "--repeat 2"),
           (r"--runs \d+", "--runs 2"), (r"scripts/alternate \d+", "scripts/alternate 2")]


def blocks(text):
    """The runnable blocks: their indented lines after the marker, joined."""
    found = []
    for match in re.finditer(r"^<!-- runnable -->\n((?:    .*\n)+)", text, re.M):
        found.append("".join(line[4:] + "\n" for line in match[1].splitlines()))
    return found


def main():
    with open(os.path.join(ROOT, "README.md")) as f:
        commands = blocks(f.read())
    env = dict(os.environ, XDG_CACHE_HOME=tempfile.mkdtemp(prefix="quenzel-readme-"))
    env.pop("DISPLAY", None)
    failed = 0
    try:
        for block in commands:
            for pattern, short in SHORTER:
                block = re.sub(pattern, short, block)
            run = subprocess.run(["bash", "-euo", "pipefail", "-c", block], cwd=ROOT, env=env,
                                 capture_output=True, text=True, timeout=600)
            print(f"{'passed' if run.returncode == 0 else 'FAILED'} (exit code {run.returncode}):"
                  f"\n{block}{run.stdout[-1500:]}{run.stderr[-1500:]}", flush=True)
            failed += run.returncode != 0
    finally:
        subprocess.run([os.path.join(ROOT, "scripts", "quenzelrun"), "--stop"], env=env)
    print(f"{len(commands) - failed} passed, {failed} failed")
    return 1 if failed or not commands else 0


if __name__ == "__main__":
    sys.exit(main())
