#pragma once

#include "deck/Isotopes.hpp"
#include "deck/Structures.hpp"
#include "deck/ZMatrix.hpp"

#include <span>
#include <string>
#include <vector>

namespace tessen::deck {

// One molecule of a deck: what goes into its records.
struct DeckMolecule {
    std::string title1;  // the structure's title, or the file name
    std::string title2;  // the formula and the file name
    std::string species; // the formula
    ValenceCoordinates coordinates;
    std::vector<double> masses; // of atoms 1 to N, the dummy atoms' 0
    std::vector<IsotopeSet> isotope_sets;
};

// The deck molecule of a structure read from file.
DeckMolecule deck_molecule(const Structure& structure, const std::string& file,
                           std::vector<IsotopeSet> isotope_sets);

// The whole deck, every record written by tessen's own layouts through the record layer
// (so that it reads back exactly), lines ending with LF, ended by the end record.
std::string deck_text(std::span<const DeckMolecule> molecules);

} // namespace tessen::deck
