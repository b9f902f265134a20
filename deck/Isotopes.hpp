#pragma once

#include "deck/Structures.hpp"

#include <string>
#include <variant>
#include <vector>

namespace tessen::deck {

// One atom given another isotope.
struct IsotopeChange {
    int atom = 0;             // from 1, in the input's order
    unsigned mass_number = 0; // 13 for 13C
    double mass = 0;          // its exact mass, from Open Babel's tables
};

// One isotope mass set of a deck: its changes and the species title that names it.
struct IsotopeSet {
    std::vector<IsotopeChange> changes;
    std::string title;
};

// Parses ATOM:ISOTOPE[,ATOM:ISOTOPE...] (2:2H,3:2H or 1:13C; D and T stand for 2H and 3H)
// for a structure, or says what is wrong: an atom number outside 1..n, an isotope that
// Open Babel does not know, or one of another element than the atom's.
std::variant<IsotopeSet, std::string> parse_isotopologue(const std::string& substitutions,
                                                         const Structure& structure);

// One set for every atom whose element has a stable minor isotope (the most abundant one
// after the main isotope): 2H, 13C, 15N, 18O, 34S, 37Cl, 29Si, 10B, 6Li, 81Br, 25Mg.
std::vector<IsotopeSet> single_substitutions(const Structure& structure);

} // namespace tessen::deck
