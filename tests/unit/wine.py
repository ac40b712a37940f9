#!/usr/bin/env python3
"""Runs a unit-test program under Wine on the end-to-end tests' display and prefix; it
passes only when GoogleTest says so (a program that ends early also exits with 0).

    wine.py EXE STATE [ARG...]   STATE: the session file e2e.py setup wrote
"""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts"))
import winerun  # noqa: E402

with open(sys.argv[2]) as f:
    session = json.load(f)
wine = winerun.Wine(session["display"], 0, 0, prefix=session["prefix"])
run = subprocess.run(["wine", sys.argv[1], *sys.argv[3:]], env=wine.env, capture_output=True,
                     text=True, timeout=110)
print(run.stdout, run.stderr, sep="")
sys.exit(0 if run.returncode == 0 and "[  PASSED  ]" in run.stdout else 1)
