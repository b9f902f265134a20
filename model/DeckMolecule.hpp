#pragma once

#include "records/ByteStreams.hpp"

#include <cstddef>
#include <string>
#include <vector>

namespace tessen::model {

// One atom record of a deck with its numbers read into double precision (the deck's own
// digits, not tessen's single-precision values).
struct AtomRecord {
    int index = 0;        // the record's place in the molecule, from 1
    std::size_t line = 0; // its line in the deck
    int i = 0, j = 0, k = 0, l = 0;
    double r = 0, a = 0, t = 0, m = 0; // bond length (A), angle and dihedral (degrees), mass (u)
};

// The masses of atoms 1 to N: the molecule's own (from its atom records) or an isotope set.
struct MassSet {
    std::size_t line = 0; // the atom records' first line, or the set's header
    std::string title;    // the species title (title 3, or the isotope header's)
    std::vector<double> masses;
};

// A molecule of a deck as tessen's job loop reads it.
struct DeckMolecule {
    int number = 0;       // its place among the deck's molecules, from 1
    std::size_t line = 0; // the line of its counts record
    int n = 0;            // atoms in the coordinate table
    std::string title1, title2;
    std::vector<AtomRecord> records;
    std::vector<MassSet> mass_sets; // set 1: the molecule's own masses; then each isotope set
};

// Every molecule of a deck, read through tessen's own job loop (its grammar, its field
// rules) with the numbers of the atom records and mass records read again in double
// precision. A deck that tessen stops at, or a molecule whose atoms 1 to N are not all
// placed, raises CommandError (status 2) naming the line.
std::vector<DeckMolecule> read_deck_molecules(ByteSource& source, const std::string& name);

} // namespace tessen::model
