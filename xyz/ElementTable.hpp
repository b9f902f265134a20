#pragma once

#include <string_view>

namespace tessen::xyz {

// How far a mass may lie from the nearest reference mass and still name its element, in u.
inline constexpr double kMassTolerance = 0.1;

// The element symbol for an atomic mass in u: the element of the nearest reference mass
// (the isotopes of H to Br found in nature, deuterium and tritium, and the standard atomic
// weights of the same elements) when it lies within kMassTolerance, otherwise "X".
// Deuterium and tritium are H. A zero or negative mass (a dummy atom) is X.
std::string_view element_for_mass(double mass);

} // namespace tessen::xyz
