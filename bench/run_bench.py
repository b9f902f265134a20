#!/usr/bin/env python3
"""Times tessen, the whole process, on the benchmark decks.

    run_bench.py --tessen PATH --timer PATH --decks DIR [--runs 5] [--seed 7] [DECK ...]

For each deck (A, B and C by default, written by make_deck.py into DIR when missing or
older than the generator) tessen runs RUNS times in DIR with the deck's name typed at its
prompt. Each run is timed by the small program time_process (bench/time_process.cpp)
from the fork to the end of the process, which also reports the run's peak resident
memory and CPU time (a Python parent would count its own memory as the child's). Right
after each run, `cat REPORT > /dev/null` is timed the same way: the cost of only moving
the report's bytes, the floor for any writer. Medians are printed, with the report's
SHA-256 so that two builds can be checked for byte-identical reports. MB is 10^6 bytes.
"""

import argparse
import hashlib
import os
import shutil
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
GENERATOR = os.path.join(HERE, "make_deck.py")
THROUGHPUT_TARGET_MB_S = 1000.0
MEMORY_TARGET_MB = 16.0


def ensure_deck(decks, name, seed):
    """The deck's path; written anew when missing or older than the generator."""
    path = os.path.join(decks, name + ".DAT")
    stamp = path + ".seed"
    fresh = (os.path.exists(path) and os.path.exists(stamp)
             and os.path.getmtime(path) >= os.path.getmtime(GENERATOR))
    if fresh:
        with open(stamp) as f:
            fresh = f.read().strip() == str(seed)
    if not fresh:
        print("writing deck %s (seed %d) ..." % (name, seed), flush=True)
        subprocess.run([sys.executable, GENERATOR, name, path, "--seed", str(seed)], check=True)
        with open(stamp, "w") as f:
            f.write("%d\n" % seed)
    return path


def timed(timer, argv, cwd, stdin_text=None):
    """Runs argv to its end under the timer: (wall s, exit code, peak resident KiB, CPU s)."""
    command = [timer, "--cwd", cwd]
    if stdin_text is not None:
        command += ["--stdin", stdin_text]
    out = subprocess.run(command + ["--"] + argv, check=True, capture_output=True, text=True)
    wall, code, peak, cpu = out.stdout.split()
    return float(wall), int(code), int(peak), float(cpu)


def deck_atoms(path):
    """Atoms placed by the deck: the sum of N over its counts records."""
    atoms = 0
    with open(path, "rb") as deck:
        expect_counts = False
        for line in deck:
            if expect_counts:
                atoms += int(line[3:7] or b"0")
                expect_counts = False
            elif line[:3] == b" -9":
                expect_counts = True
    return atoms


def sha256_of(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def bench_deck(tessen, timer, decks, name, runs, seed):
    deck = ensure_deck(decks, name, seed)
    report = os.path.join(decks, name + ".OUT")
    walls, cpus, floors, peaks, new_walls = [], [], [], [], []
    for _ in range(runs):
        # Over the report of the run before, as a deck run again finds it ...
        wall, code, peak, cpu = timed(timer, [tessen], decks, name + ".DAT\n")
        if code != 0:
            sys.exit("tessen ended with status %d on deck %s" % (code, name))
        walls.append(wall)
        cpus.append(cpu)
        peaks.append(peak)
        floor, code, _, _ = timed(timer, ["cat", report], decks)
        if code != 0:
            sys.exit("cat ended with status %d on %s" % (code, report))
        floors.append(floor)
        # ... and as a new file: the old report removed first, outside the timing.
        os.remove(report)
        wall, code, peak, _ = timed(timer, [tessen], decks, name + ".DAT\n")
        new_walls.append(wall)
        peaks.append(peak)
    size = os.path.getsize(report)
    wall = statistics.median(walls)
    new_wall = statistics.median(new_walls)
    floor = statistics.median(floors)
    atoms = deck_atoms(deck)
    return {
        "deck": name,
        "atoms": atoms,
        "report_mb": size / 1e6,
        "wall": wall,
        "cpu": statistics.median(cpus),
        "atoms_s": atoms / wall,
        "mb_s": size / 1e6 / wall,
        "new_wall": new_wall,
        "new_mb_s": size / 1e6 / new_wall,
        "peak_mb": max(peaks) / 1024.0,
        "floor": floor,
        "floor_mb_s": size / 1e6 / floor,
        "sha": sha256_of(report)[:16],
    }


def bench_openbabel(obabel, timer, decks, name, runs):
    """Open Babel placing the same atoms: the deck's molecules as a Z-matrix (gzmat) file,
    converted to XYZ. (wall s, atoms/s, XYZ MB), or None without obabel."""
    deck = os.path.join(decks, name + ".DAT")
    zmat = os.path.join(decks, name + ".gzmat")
    if not os.path.exists(zmat) or os.path.getmtime(zmat) < os.path.getmtime(deck):
        subprocess.run([sys.executable, os.path.join(os.path.dirname(GENERATOR),
                                                     "deck_to_gzmat.py"), deck, zmat], check=True)
    xyz = os.path.join(decks, name + ".xyz")
    walls = []
    for _ in range(runs):
        wall, code, _, _ = timed(timer, [obabel, "-igzmat", zmat, "-oxyz", "-O", xyz], decks)
        if code != 0:
            sys.exit("obabel ended with status %d on %s" % (code, zmat))
        walls.append(wall)
    wall = statistics.median(walls)
    return wall, deck_atoms(deck) / wall, os.path.getsize(xyz) / 1e6


def print_table(rows, runs, references):
    print()
    print("tessen, whole process, median of %d runs (MB = 10^6 bytes)" % runs)
    header = ("deck", "atoms", "report MB", "wall s", "CPU s", "atoms/s", "report MB/s",
              "new file s", "new MB/s", "peak RSS MB", "cat s", "cat MB/s", "report sha256")
    print("%-4s %7s %9s %7s %6s %9s %11s %10s %8s %11s %6s %8s  %s" % header)
    for r in rows:
        print("%-4s %7d %9.1f %7.3f %6.3f %9.0f %11.1f %10.3f %8.1f %11.1f %6.3f %8.0f  %s" %
              (r["deck"], r["atoms"], r["report_mb"], r["wall"], r["cpu"], r["atoms_s"],
               r["mb_s"], r["new_wall"], r["new_mb_s"], r["peak_mb"], r["floor"],
               r["floor_mb_s"], r["sha"]))
    print("(report MB/s: over the report of the run before; new MB/s: the old report removed")
    print(" first, outside the timing, so that the file system need not free it)")
    if references:
        print()
        print("Open Babel (obabel -igzmat DECK.gzmat -oxyz), the same molecules placed from")
        print("the same valence coordinates, median of %d runs:" % runs)
        print("%-4s %8s %12s %8s %22s" % ("deck", "wall s", "atoms/s", "XYZ MB",
                                         "tessen's speed-up"))
        for r in rows:
            wall, atoms_s, xyz_mb = references[r["deck"]]
            print("%-4s %8.3f %12.0f %8.1f %21.1fx" % (r["deck"], wall, atoms_s, xyz_mb,
                                                      wall / r["wall"]))
    print()
    for r in rows:
        speed = "met" if r["mb_s"] >= THROUGHPUT_TARGET_MB_S else "NOT met"
        new_speed = "met" if r["new_mb_s"] >= THROUGHPUT_TARGET_MB_S else "NOT met"
        memory = "met" if r["peak_mb"] < MEMORY_TARGET_MB else "NOT met"
        print("deck %s: %.0f MB/s (new file %.0f MB/s) against %.0f MB/s: %s (new file: %s); "
              "peak %.1f MB against %.0f MB: %s" %
              (r["deck"], r["mb_s"], r["new_mb_s"], THROUGHPUT_TARGET_MB_S, speed, new_speed,
               r["peak_mb"], MEMORY_TARGET_MB, memory))


def main():
    parser = argparse.ArgumentParser(description="Times tessen on the benchmark decks.")
    parser.add_argument("--tessen", required=True)
    parser.add_argument("--timer", required=True, help="the time_process program")
    parser.add_argument("--decks", required=True, help="folder for the decks and reports")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("names", nargs="*", default=["A", "B", "C"], metavar="DECK")
    args = parser.parse_args()
    if args.runs < 1:
        parser.error("--runs must be at least 1")
    tessen = os.path.abspath(args.tessen)
    timer = os.path.abspath(args.timer)
    decks = os.path.abspath(args.decks)
    os.makedirs(decks, exist_ok=True)
    rows = [bench_deck(tessen, timer, decks, name, args.runs, args.seed) for name in args.names]
    obabel = shutil.which("obabel")
    references = {}
    if obabel:
        references = {name: bench_openbabel(obabel, timer, decks, name, args.runs)
                      for name in args.names}
    else:
        print("note: obabel not found; the Open Babel reference is left out")
    print_table(rows, args.runs, references)
    return 0


if __name__ == "__main__":
    sys.exit(main())
