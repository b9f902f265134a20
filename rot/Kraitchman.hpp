#pragma once

#include "rot/Isotopologue.hpp"

#include <optional>

namespace tessen::rot {

// Masses that differ by more than this are different isotopes.
inline constexpr double kMassDifference = 5e-7;

// The substitution of a species against its parent (the molecule's first block), when the
// two differ in exactly one atom's mass; nothing otherwise. Kraitchman's equations in the
// parent's principal frame, with M the parent's total mass, dm the mass change,
// mu = M dm / (M + dm) and dP the species' planar moments minus the parent's:
//   asymmetric parent: |g|^2 = (dP_gg / mu) * prod over the other axes h of
//                              (1 + dP_hh / (P_hh - P_gg));
//   linear parent:     |a|^2 = (Ib' - Ib) / mu, |b| = |c| = 0;
//   other parents:     no coordinates, and a note why.
// A negative |g|^2 gives |g| = 0, and the axis is imaginary. Costain's uncertainty is
// 0.0015 / |g| A.
std::optional<Substitution> kraitchman(const Isotopologue& parent, const Isotopologue& species);

} // namespace tessen::rot
