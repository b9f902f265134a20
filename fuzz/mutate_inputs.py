#!/usr/bin/env python3
"""Small random byte changes of real input files, through the programs as a user runs them.

    mutate_inputs.py molecules --build build --count 2000 SEED_FILE...
    mutate_inputs.py reports   --build build --count 2000 SEED_FILE...

molecules: each change of a molecule file (XYZ, SDF, PDB, ...) is given to tessen-deck,
which must end with status 0, 1 or 2 within the time limit (unless Open Babel's own obabel
is killed by a signal or runs over the time limit on it too: Open Babel's fault, not
counted); every deck that it writes must run through tessen to its end (status 0).
reports: each change of a report is given to tessen-rot and tessen-xyz, which must end
with status 0, 1 or 2 within the time limit.

A change turns one to three bytes into digits, signs, a point, 'e', a blank, NUL or 0xFF
(or drops or doubles a byte). Prints the figures; exit status 1 when an input broke a
rule (the input is kept in the work folder and named)."""

import argparse
import collections
import os
import random
import subprocess
import sys
import tempfile

REPLACEMENTS = [b"0", b"1", b"5", b"9", b"-", b"+", b".", b"e", b"E", b" ", b"\x00", b"\xff"]
TIME_LIMIT = 10


def mutate(data, rng):
    data = bytearray(data)
    for _ in range(rng.randint(1, 3)):
        at = rng.randrange(len(data))
        kind = rng.random()
        if kind < 0.8:
            data[at:at + 1] = rng.choice(REPLACEMENTS)
        elif kind < 0.9:
            del data[at]
        else:
            data[at:at] = data[at:at + 1]
    return bytes(data)


def run(argv, cwd):
    """The exit status, negative for a signal, None for a run over the time limit."""
    try:
        return subprocess.run(argv, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=TIME_LIMIT).returncode
    except subprocess.TimeoutExpired:
        return None


def molecule_case(build, path, work, tally):
    deck = os.path.join(work, "M.DAT")
    if os.path.exists(deck):
        os.remove(deck)
    status = run([os.path.join(build, "tessen-deck"), path, "-o", deck], work)
    if status is None or status < 0:
        # Open Babel's own fault when obabel fails on the input as well.
        converted = run(["obabel", path, "-oxyz"], work)
        if converted is None or converted < 0:
            tally["obabel fails too (not counted)"] += 1
            return True
    tally["tessen-deck exit %s" % status] += 1
    if status not in (0, 1, 2):
        return False
    if os.path.exists(deck) and os.path.getsize(deck) > 0:
        ran = run([os.path.join(build, "tessen"), deck], work)
        tally["decks written"] += 1
        tally["decks that tessen runs to the end"] += ran == 0
        return ran == 0
    return True


def report_case(build, path, work, tally):
    ok = True
    for program in (["tessen-rot"], ["tessen-xyz"]):
        out = tempfile.mkdtemp(dir=work)
        argv = [os.path.join(build, program[0]), path] + ([out] if program[0] == "tessen-xyz" else [])
        status = run(argv, work)
        tally["%s exit %s" % (program[0], status)] += 1
        ok = ok and status in (0, 1, 2)
    return ok


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("kind", choices=["molecules", "reports"])
    parser.add_argument("seeds", nargs="+")
    parser.add_argument("--build", default="build")
    parser.add_argument("--count", type=int, default=2000)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    build = os.path.abspath(args.build)
    work = tempfile.mkdtemp(prefix="tessen-mutate-")
    case = molecule_case if args.kind == "molecules" else report_case
    tally = collections.Counter()
    broken = []
    for n in range(args.count):
        seed = rng.choice(args.seeds)
        with open(seed, "rb") as f:
            data = mutate(f.read(), rng)
        path = os.path.join(work, "%05d%s" % (n, os.path.splitext(seed)[1]))
        with open(path, "wb") as f:
            f.write(data)
        if case(build, path, work, tally):
            os.remove(path)
        else:
            broken.append(path)
    tally["inputs"] = args.count
    for key in sorted(tally):
        print("%-40s %d" % (key, tally[key]))
    for path in broken:
        print("broke a rule:", path)
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
