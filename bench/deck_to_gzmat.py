#!/usr/bin/env python3
"""Writes the molecules of a benchmark deck as Gaussian Z-matrix input (Open Babel's
gzmat format), one after another in one file: the outside reference of the benchmark,
Open Babel placing the same atoms from the same valence coordinates.

Reads the decks that make_deck.py writes: a molecule is a -9 control record, a counts
record (N in columns 4-7), three titles and N atom records (4I3, 4F12.6); everything else
(isotope sets, the end record) is passed over. A blank angle (the tetrahedral default)
is written as 109.4712206 degrees; the element is the one whose isotope mass is
nearest."""

import sys

# Isotope masses of the decks' elements, rounded, to the element.
ELEMENTS = {1: "H", 2: "H", 12: "C", 13: "C", 14: "N", 15: "N", 16: "O", 17: "O", 18: "O",
            19: "F", 32: "S", 34: "S", 35: "Cl", 37: "Cl"}
TETRAHEDRAL = 109.4712206


def real(text):
    text = text.strip()
    return float(text) if text else 0.0


def molecules(lines):
    at = 0
    while at < len(lines):
        if lines[at][:3] != " -9":
            at += 1
            continue
        n = int(lines[at + 1][3:7])
        atoms = lines[at + 5:at + 5 + n]
        yield [(int(r[3:6] or 0), int(r[6:9] or 0), int(r[9:12] or 0), real(r[12:24]),
                real(r[24:36]), real(r[36:48]), real(r[48:60])) for r in atoms]
        at += 5 + n


def gzmat(atoms, number):
    rows, values = [], []
    for i, (j, k, l, r, a, t, m) in enumerate(atoms, start=1):
        row = ELEMENTS.get(round(m), "C")
        if i >= 2:
            row += " %d r%d" % (j, i)
            values.append("r%d=%.6f" % (i, r))
        if i >= 3:
            row += " %d a%d" % (k, i)
            values.append("a%d=%.6f" % (i, a if a != 0.0 else TETRAHEDRAL))
        if i >= 4:
            row += " %d d%d" % (l, i)
            values.append("d%d=%.6f" % (i, t))
        rows.append(row)
    return "#\n\nmolecule %d\n\n0 1\n%s\n\n%s\n\n" % (number, "\n".join(rows), "\n".join(values))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: deck_to_gzmat.py DECK OUT.gzmat")
    with open(sys.argv[1]) as deck:
        lines = deck.read().split("\n")
    with open(sys.argv[2], "w") as out:
        for number, atoms in enumerate(molecules(lines), start=1):
            out.write(gzmat(atoms, number))


if __name__ == "__main__":
    main()
