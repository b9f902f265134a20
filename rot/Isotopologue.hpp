#pragma once

#include "model/Rotor.hpp"
#include "report/ReportModel.hpp"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tessen::rot {

using model::kConstantFactor;
using model::kMhzPerWavenumber;

using Value = std::optional<double>; // null in the output where it has no value
using Axes = std::array<Value, 3>;   // on a, b, c

using model::Rotor;
using model::rotor_name;

// The substitution coordinates of the one atom whose mass an isotope set changes, by
// Kraitchman's equations in the parent's principal frame.
struct Substitution {
    int atom = 0; // from 1
    double parent_mass = 0;
    double mass = 0;
    double mu = 0;               // M dm / (M + dm)
    Axes coordinates;            // |a|, |b|, |c|; null where the equations do not apply
    std::vector<char> imaginary; // the axes whose |g|^2 came out negative ('a', 'b', 'c')
    Axes costain;                // min(0.0015 / |g|, sqrt(0.003)); null where |g| is
    // A symmetric-top parent: |z| along the symmetry axis and r from it (with Costain's
    // uncertainties); an atom off the axis has no |a|, |b|, |c|.
    Value axial, radial, axial_costain, radial_costain;
    Axes principal;   // the parent's own |a|, |b|, |c| of that atom
    std::string note; // why there are no coordinates, when there are none
};

// One isotopologue: one mass-properties block of the report.
struct Isotopologue {
    std::string title;
    Value total_mass;
    std::vector<Value> masses; // of atoms 1 to N, as printed
    // Everything below is null when the block's moments are not all printed.
    std::array<Value, 3> moments;  // Ia <= Ib <= Ic, amu A^2
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

// The rotational analysis of one mass-properties block.
Isotopologue analyse_block(const report::MassBlock& block);

// Whether every moment of the block is printed (not asterisks).
bool has_moments(const Isotopologue& species);

} // namespace tessen::rot
