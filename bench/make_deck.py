#!/usr/bin/env python3
"""Writes a seeded benchmark deck for tessen.

    make_deck.py A|B|C OUTPUT [--seed N] [--molecules N]

Deck A: 20,000 molecules of 12 atoms, isotope flag 1, two isotope mass sets each.
Deck B: 40 molecules of 500 atoms (the table's capacity), isotope flag 0.
Deck C: deck B's molecules (same seed, same atom records), six isotope mass sets each.

Every molecule is a chain grown atom by atom: atom i is bonded to i - 1 with reference
atoms i - 2 and i - 3 (now and then to i - 2, a branch, with i - 3 and i - 4), bond
lengths 1.0 to 1.6, bond angles 100 to 120 degrees, about one angle in eight left blank
(the tetrahedral angle), dihedrals -180 to 180. No three reference atoms are ever in
line, so no local frame is degenerate, and a random coil of 500 such bonds stays well
inside the 100-unit range of the distance listing. Masses are those of real isotopes.
The same seed always gives the same deck, byte for byte; --molecules cuts a deck short
(the first N of its molecules), for profiling runs.
"""

import argparse
import random
import sys

# (element, most common isotope, heavier isotopes) in atomic mass units.
ISOTOPES = [
    ("H", 1.007825, [2.014102, 3.016049]),
    ("C", 12.000000, [13.003355, 14.003242]),
    ("N", 14.003074, [15.000109]),
    ("O", 15.994915, [16.999132, 17.999160]),
    ("F", 18.998403, []),
    ("S", 31.972071, [32.971459, 33.967867]),
    ("Cl", 34.968853, [36.965903]),
]
# Heavier elements are rarer in the chains, as in real molecules.
ELEMENT_WEIGHTS = [30, 35, 10, 15, 3, 4, 3]

DECKS = {
    # name: (molecules, atoms, isotope flag, isotope sets)
    "A": (20000, 12, 1, 2),
    "B": (40, 500, 0, 0),
    "C": (40, 500, 1, 6),
}


def real_field(value):
    """An F12.6 field with its decimal point."""
    return "%12.6f" % value


def atom_record(i, j, k, l, r, a, t, m):
    angle = " " * 12 if a is None else real_field(a)
    return "%3d%3d%3d%3d%s%s%s%s" % (i, j, k, l, real_field(r), angle, real_field(t),
                                     real_field(m))


def reference_atoms(rng, i):
    """J, K, L of atom i >= 4: the previous atom, or now and then a branch."""
    if i >= 5 and rng.random() < 0.15:
        return i - 2, i - 3, i - 4
    return i - 1, i - 2, i - 3


def molecule_atoms(rng, n):
    """The atom records and the element of each atom of one chain of n atoms."""
    elements = rng.choices(range(len(ISOTOPES)), weights=ELEMENT_WEIGHTS, k=n)
    records = []
    for i in range(1, n + 1):
        r = rng.uniform(1.0, 1.6)
        a = None if rng.random() < 0.125 else rng.uniform(100.0, 120.0)
        t = rng.uniform(-180.0, 180.0)
        mass = ISOTOPES[elements[i - 1]][1]
        if i == 1:
            records.append(atom_record(1, 0, 0, 0, 0.0, 0.0, 0.0, mass))
        elif i == 2:
            records.append(atom_record(2, 1, 0, 0, r, 0.0, 0.0, mass))
        elif i == 3:
            records.append(atom_record(3, 2, 1, 0, r, a, 0.0, mass))
        else:
            j, k, l = reference_atoms(rng, i)
            records.append(atom_record(i, j, k, l, r, a, t, mass))
    return records, elements


def isotope_masses(rng, elements):
    """One isotope mass set: each atom keeps its mass or, now and then, a heavier isotope."""
    masses = []
    for e in elements:
        _, common, heavier = ISOTOPES[e]
        if heavier and rng.random() < 0.3:
            masses.append(rng.choice(heavier))
        else:
            masses.append(common)
    return masses


def mass_records(masses):
    """The masses six to a record, "(6F12.6)"."""
    return ["".join(real_field(m) for m in masses[s:s + 6]) for s in range(0, len(masses), 6)]


def title(text, width):
    return text[:width].ljust(width)


def write_deck(name, out, seed, molecules=None):
    default_molecules, n, flag, sets = DECKS[name]
    molecules = molecules or default_molecules
    # Decks B and C share their molecules: the atom records come from their own stream.
    geometry_rng = random.Random("%s-%d" % ("A" if name == "A" else "BC", seed))
    isotope_rng = random.Random("%s-isotopes-%d" % (name, seed))
    lines = []
    for mol in range(1, molecules + 1):
        # A control record, or with isotope flag 1 the isotope header record after the
        # last set, starts each molecule; 999 in the same place ends the deck.
        lines.append(" -9")
        lines.append("   %4d%4d" % (n, flag))
        lines.append(title("BENCHMARK DECK %s, MOLECULE %d" % (name, mol), 80))
        lines.append(title("RANDOM CHAIN OF %d ATOMS, SEED %d" % (n, seed), 80))
        lines.append(title("MOLECULE %d, MAIN ISOTOPES" % mol, 60))
        records, elements = molecule_atoms(geometry_rng, n)
        lines.extend(records)
        for s in range(1, sets + 1):
            lines.append(" -6" + title("MOLECULE %d, ISOTOPE SET %d" % (mol, s), 60))
            lines.extend(mass_records(isotope_masses(isotope_rng, elements)))
    lines.append("999")
    out.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description="Writes a seeded benchmark deck for tessen.")
    parser.add_argument("deck", choices=sorted(DECKS))
    parser.add_argument("output")
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--molecules", type=int, help="only the first N molecules")
    args = parser.parse_args()
    if args.molecules is not None and args.molecules < 1:
        parser.error("--molecules must be at least 1")
    with open(args.output, "w", newline="\n") as out:
        write_deck(args.deck, out, args.seed, args.molecules)
    return 0


if __name__ == "__main__":
    sys.exit(main())
