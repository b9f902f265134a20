#pragma once

#include "report/ReportModel.hpp"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tessen::rot {

// h / (8 pi^2) in MHz amu A^2 (CODATA 2018 h and u): a rotational constant is F / I.
inline constexpr double kConstantFactor = 505379.00914143614;
// MHz per cm^-1 (the speed of light in cm/s, over 10^6).
inline constexpr double kMhzPerWavenumber = 29979.2458;

using Value = std::optional<double>; // null in the output where it has no value
using Axes = std::array<Value, 3>;   // on a, b, c

enum class Rotor { atom, linear, spherical, prolate, oblate, asymmetric };
const char* rotor_name(Rotor rotor);

// The substitution coordinates of the one atom whose mass an isotope set changes, by
// Kraitchman's equations in the parent's principal frame.
struct Substitution {
    int atom = 0; // from 1
    double parent_mass = 0;
    double mass = 0;
    double mu = 0;               // M dm / (M + dm)
    Axes coordinates;            // |a|, |b|, |c|; null where the equations do not apply
    std::vector<char> imaginary; // the axes whose |g|^2 came out negative ('a', 'b', 'c')
    Axes costain;                // 0.0015 / |g|; null for 0
    Axes principal;              // the parent's own |a|, |b|, |c| of that atom
    std::string note;            // why there are no coordinates, when there are none
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
