#pragma once

#include "companion/CommandError.hpp"
#include "rot/Isotopologue.hpp"

#include <string>
#include <vector>

namespace tessen::rot {

// One molecule of an input: its titles and an isotopologue per mass-properties block of a
// report, or per mass set of a deck (the molecule's own masses first, then each isotope set
// in order). A molecule of fewer than three atoms has none.
struct MoleculeAnalysis {
    std::string input; // the file's name
    bool from_deck = false;
    int number = 0; // its place in the input, from 1
    std::string title1;
    std::string title2;
    std::vector<Isotopologue> isotopologues;
};

// What an input gave: every molecule, the warnings to show (each with its file and line),
// and how many isotopologues it has and how many of them have moments.
struct Analysis {
    std::vector<MoleculeAnalysis> molecules;
    std::vector<companion::CommandError> warnings;
    bool from_deck = false;
    int isotopologues = 0;
    int with_moments = 0;
};

} // namespace tessen::rot
