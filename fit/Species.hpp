#pragma once

#include "fit/ObservedTable.hpp"
#include "model/DeckMolecule.hpp"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tessen::fit {

// A measured isotopologue: a row of the measured-constants table matched to its masses.
struct Species {
    std::size_t line = 0;
    std::string label;
    std::vector<double> masses; // atoms 1 to N
    // A, B, C in MHz with the row's corrections added; none where not measured.
    std::array<std::optional<double>, 3> constants;
    std::array<double, 3> sigma{}; // MHz; 0 without sigma columns
    bool parent = false;           // the molecule's own masses (set 1)
};

// Whether two mass lists name the same isotopologue (every mass within 5e-7 u).
bool same_masses(const std::vector<double>& x, const std::vector<double>& y);

// Each row's masses: a `set` of the deck, or the molecule's own masses with the row's
// isotopologue LIST put in. A set outside the deck, an unknown atom or isotope, an
// isotope of another element than the atom's, a weighted row without the uncertainty of a
// constant it gives, or two rows for one isotopologue raise CommandError (status 2) at the
// row's line.
std::vector<Species> match_species(const ObservedTable& table, const model::DeckMolecule& molecule,
                                   const std::string& file);

} // namespace tessen::fit
