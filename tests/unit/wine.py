#!/usr/bin/env python3
"""wine.py EXE STATE [ARG...]: runs a unit-test program under Wine in the end-to-end session
STATE; passes only when GoogleTest says so (a program that ends early exits with 0 too)."""
import json, os, subprocess, sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts"))
import winerun  # noqa: E402

session = json.load(open(sys.argv[2]))
wine = winerun.Wine(session["display"], 0, 0, prefix=session["prefix"])
run = subprocess.run([winerun.WINE, *sys.argv[1:2], *sys.argv[3:]], env=wine.env, capture_output=True,
                     text=True, timeout=110)
print(run.stdout, run.stderr, sep="")
sys.exit(0 if run.returncode == 0 and "[  PASSED  ]" in run.stdout else 1)
