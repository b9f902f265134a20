#pragma once

#include "deck/DeckWriter.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tessen::deck {

// A value from which an F12.6 field of the deck shows asterisks: no deck holds it.
inline constexpr double kWidestField = 99999.9999995;

// Atoms closer than this are one place: no valence coordinates reach the second (a bond
// of 0.000000 in the deck, and a frame that tessen cannot build from it).
inline constexpr double kSamePlace = 1e-4;

// Raises CommandError (exit status 1) for a structure whose valence coordinates cannot be
// sought: no atoms or more than a deck holds (checked before any work that grows with the
// atoms), a coordinate that is not a finite number, or one so far from the first atom that
// distances would overflow.
void refuse_unplaceable(const Structure& structure);

// Why tessen would stop on a deck, if it would: the deck run through tessen's own job loop,
// its report thrown away.
std::optional<std::string> tessen_stop(const std::string& deck_text);

// The deck molecule of a structure, built only when tessen can run it: raises CommandError
// (exit status 1, the reason as its message) for more atoms than a deck holds, a
// coordinate that is not a finite number, atoms in one place, a value wider than its deck
// field, and anything else on which tessen itself would stop. That last is found by
// running the molecule's deck through tessen's own job loop, its report thrown away, so
// that no deck is written that tessen would refuse.
DeckMolecule checked_deck_molecule(const Structure& structure, const std::string& file,
                                   std::vector<IsotopeSet> isotope_sets);

} // namespace tessen::deck
