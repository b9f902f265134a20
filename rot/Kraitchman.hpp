#pragma once

#include "model/Kraitchman.hpp"
#include "rot/Isotopologue.hpp"

#include <optional>

namespace tessen::rot {

using model::kMassDifference;

// The substitution of a species against its parent (the molecule's first block), when the
// two differ in exactly one atom's mass; nothing otherwise. The coordinates are the
// Model's Kraitchman equations on the printed moments, in the parent's principal frame
// (see model/Kraitchman.hpp): every rotor type, with a note where none applies.
std::optional<Substitution> kraitchman(const Isotopologue& parent, const Isotopologue& species);

} // namespace tessen::rot
