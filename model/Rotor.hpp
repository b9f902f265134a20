#pragma once

#include <array>

namespace tessen::model {

// h / (8 pi^2) in MHz u A^2 (CODATA 2018 h and u): a rotational constant is F / I.
inline constexpr double kConstantFactor = 505379.00914143614;
// MHz per cm^-1 (the speed of light in cm/s, over 10^6).
inline constexpr double kMhzPerWavenumber = 29979.2458;

// Below this Ic (u A^2) the molecule is a single atom.
inline constexpr double kAtomMoment = 1e-6;
// Moments that differ by less than this times Ic count as equal.
inline constexpr double kRotorTolerance = 1e-5;

enum class Rotor { atom, linear, spherical, prolate, oblate, asymmetric };

// "atom", "linear", "spherical", "prolate", "oblate", "asymmetric".
const char* rotor_name(Rotor rotor);

// The rotor type of the principal moments Ia <= Ib <= Ic: two moments within
// tolerance x Ic are equal, an Ia within it is zero.
Rotor rotor_type(const std::array<double, 3>& moments, double tolerance = kRotorTolerance);

// The rotor type of moments known to within spread (each moment's own, in u A^2): two
// moments are equal when they differ by no more than the sum of their spreads, an Ia no
// larger than its spread is zero.
Rotor rotor_type(const std::array<double, 3>& moments, const std::array<double, 3>& spread);

// Whether the rotor is a symmetric top (prolate or oblate).
bool is_symmetric_top(Rotor rotor);

// Paa = (-Ia + Ib + Ic) / 2, Pbb = (Ia - Ib + Ic) / 2, Pcc = (Ia + Ib - Ic) / 2.
std::array<double, 3> planar_moments(const std::array<double, 3>& moments);

} // namespace tessen::model
