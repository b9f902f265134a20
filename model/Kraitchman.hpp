#pragma once

#include "model/Rotor.hpp"

#include <array>
#include <optional>
#include <string>

namespace tessen::model {

// Masses that differ by more than this (u) are different isotopes.
inline constexpr double kMassDifference = 5e-7;
// Costain's constant K (A^2): the uncertainty of a substitution coordinate g is K / |g|.
inline constexpr double kCostainConstant = 0.0015;

using Moments = std::array<std::optional<double>, 3>; // Ia <= Ib <= Ic; none where unknown

// A species in Kraitchman's equations: its moments (measured, or from a structure) and
// their standard uncertainties (0 where none is known).
struct KraitchmanSpecies {
    Moments moments;
    std::array<double, 3> sigma{};
};

// What the equations are given: the parent (its rotor type taken from its structure), the
// singly substituted species, the parent's total mass and the mass change.
struct KraitchmanInput {
    Rotor rotor = Rotor::asymmetric;
    KraitchmanSpecies parent;
    KraitchmanSpecies species;
    double total_mass = 0;
    double mass_change = 0;
    double costain = kCostainConstant;
    double tolerance = kRotorTolerance; // two moments within it x Ic are equal
};

// A substitution coordinate: |g| (0 when |g|^2 came out negative, then imaginary), with
// Costain's uncertainty min(K / |g|, sqrt(2K)) and the one propagated from the
// moments' uncertainties (the same form: finite at 0).
struct SubstitutionCoordinate {
    double value = 0;
    bool imaginary = false;
    double costain = 0;
    double sigma = 0;
};

struct Substitution {
    double mu = 0; // M dm / (M + dm)
    // |a|, |b|, |c|; none off the axis of a symmetric top, and none at all with a note.
    std::array<std::optional<SubstitutionCoordinate>, 3> axes;
    // A symmetric-top parent: |z| along the symmetry axis and r from it.
    std::optional<SubstitutionCoordinate> axial, radial;
    std::string note; // why there are no coordinates
};

// Kraitchman's equations in the parent's principal frame, with mu = M dm / (M + dm):
//   asymmetric parent: |g|^2 = (dP_g / mu) prod over the other axes h of (1 + dP_h / (P_h - P_g));
//   linear parent: |z|^2 = dI_b / mu;
//   symmetric top, atom on the axis (the species is a symmetric top too, or gives one
//   perpendicular moment): |z|^2 = dI_perp / mu;
//   symmetric top, atom off the axis: I'_y = (I'_a + I'_b + I'_c - I_z) / 2,
//   S = (I'_y - I_perp) / mu = r^2 + z^2, D = (I'_a I'_b I'_c / I'_y - I_perp I_z) / mu,
//   r^2 = (D - I_z S) / (I_perp - I_z), z^2 = S - r^2 (needs the parent's unique moment);
//   spherical tops and atoms: a note. So is a species or parent without the moments the
//   case needs.
Substitution kraitchman(const KraitchmanInput& input);

} // namespace tessen::model
