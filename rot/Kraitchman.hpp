#pragma once

#include "model/Kraitchman.hpp"
#include "rot/Isotopologue.hpp"

#include <optional>
#include <vector>

namespace tessen::rot {

using model::kMassDifference;

// The substitution of a species against its parent (the molecule's first isotopologue),
// when the two differ in exactly one atom's mass; nothing otherwise. The coordinates are
// the Model's Kraitchman equations on the moments, in the parent's principal frame (see
// model/Kraitchman.hpp): every rotor type, with a note where none applies. The parent's
// rotor type is its own; the species keeps a symmetric top's axis when its two moments
// across that axis lie within the sum of their spreads. The coordinates' uncertainties
// carry those of the moments and of the masses (through mu).
std::optional<Substitution> kraitchman(const Isotopologue& parent, const Isotopologue& species);

// Every isotopologue after the first, substituted against the first.
void substitute_against_parent(std::vector<Isotopologue>& isotopologues);

} // namespace tessen::rot
