#pragma once

#include "model/Rotor.hpp"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tessen::rot {

using model::kConstantFactor;
using model::kMhzPerWavenumber;

using model::Rotor;
using model::rotor_name;

// A value with its uncertainty: for a report, that of the printed numbers it comes from
// (half a unit of the last digit, and for the moments the single-precision rounding of
// tessen's computation), carried through to first order (independent numbers, added in
// quadrature); for a deck, the rounding of the double computation only.
struct Quantity {
    double value = 0;
    double sigma = 0;
};

using Value = std::optional<Quantity>; // null in the output where it has no value
using Axes = std::array<Value, 3>;     // on a, b, c

// The substitution coordinates of the one atom whose mass an isotope set changes, by
// Kraitchman's equations in the parent's principal frame.
struct Substitution {
    int atom = 0; // from 1
    double parent_mass = 0;
    double mass = 0;
    Quantity mu;                 // M dm / (M + dm)
    Axes coordinates;            // |a|, |b|, |c|; null where the equations do not apply
    std::vector<char> imaginary; // the axes whose |g|^2 came out negative ('a', 'b', 'c')
    Axes costain;                // min(0.0015 / |g|, sqrt(0.003)); null where |g| is
    // A symmetric-top parent: |z| along the symmetry axis and r from it (with Costain's
    // uncertainties); an atom off the axis has no |a|, |b|, |c|.
    Value axial, radial, axial_costain, radial_costain;
    Axes principal;   // the parent's own |a|, |b|, |c| of that atom
    std::string note; // why there are no coordinates, when there are none
};

// One isotopologue: one mass-properties block of a report, or one mass set of a deck.
struct Isotopologue {
    std::string title;
    Value total_mass;
    std::vector<Value> masses; // of atoms 1 to N
    // Everything below is null when the block's moments are not all printed.
    std::array<Value, 3> moments; // Ia <= Ib <= Ic, amu A^2, none below 0
    // How far each moment may lie from another and still be the same: its uncertainty for
    // a report; for a deck, what half a unit of the sixth decimal of the deck's lengths and
    // angles moves it by (the deck cannot state a symmetry more closely).
    std::array<double, 3> spread{};
    std::array<int, 3> columns{};  // the report column (1, 2, 3) of Ia, Ib, Ic; 0 if none
    std::vector<Axes> coordinates; // the principal coordinates of every atom on a, b, c
    std::optional<Rotor> rotor;
    std::array<Value, 3> constants_mhz; // A, B, C
    std::array<Value, 3> constants_cm;
    Value kappa;
    Value inertial_defect;
    std::array<Value, 3> planar_moments; // Paa, Pbb, Pcc
    std::optional<Substitution> substitution;
};

// Everything that follows from the moments and their spreads: the rotor type (two moments
// within the sum of their spreads are equal), A, B, C in MHz and cm^-1 (A none for a
// linear rotor, nothing for an atom), kappa for asymmetric and symmetric tops, the
// inertial defect and the planar moments, each with its uncertainty.
void derive_from_moments(Isotopologue& species);

// Whether every moment of the isotopologue is known (a report may print asterisks).
bool has_moments(const Isotopologue& species);

} // namespace tessen::rot
