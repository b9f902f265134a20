#include "rot/Isotopologue.hpp"

#include <cmath>

namespace tessen::rot {

namespace {

std::array<double, 3> values_of(const std::array<Value, 3>& quantities) {
    return {quantities[0]->value, quantities[1]->value, quantities[2]->value};
}

// Ray's kappa = (2B - A - C) / (A - C) and its uncertainty from those of A, B and C
// (independent, added in quadrature).
Quantity kappa_of(const Quantity& a, const Quantity& b, const Quantity& c) {
    const double d = a.value - c.value;
    const double kappa = (2 * b.value - a.value - c.value) / d;
    const double by_a = 2 * (c.value - b.value) / (d * d);
    const double by_b = 2 / d;
    const double by_c = 2 * (b.value - a.value) / (d * d);
    return {kappa, std::hypot(by_a * a.sigma, by_b * b.sigma, by_c * c.sigma)};
}

// A = F/Ia, B = F/Ib, C = F/Ic (dB = B dI / I): A has none for a linear rotor, nothing
// for an atom.
void constants(Isotopologue& s) {
    if (*s.rotor == Rotor::atom)
        return;
    for (std::size_t k = 0; k < 3; ++k) {
        if (k == 0 && *s.rotor == Rotor::linear)
            continue;
        const Quantity& moment = *s.moments[k];
        const double mhz = kConstantFactor / moment.value;
        s.constants_mhz[k] = Quantity{mhz, mhz * moment.sigma / moment.value};
        s.constants_cm[k] =
            Quantity{mhz / kMhzPerWavenumber, s.constants_mhz[k]->sigma / kMhzPerWavenumber};
    }
    const Rotor r = *s.rotor;
    if (r == Rotor::asymmetric || r == Rotor::prolate || r == Rotor::oblate)
        s.kappa = kappa_of(*s.constants_mhz[0], *s.constants_mhz[1], *s.constants_mhz[2]);
}

// The inertial defect Ic - Ia - Ib and the planar moments.
void planar_moments(Isotopologue& s) {
    const std::array<double, 3> m = values_of(s.moments);
    const double spread = std::hypot(s.moments[0]->sigma, s.moments[1]->sigma, s.moments[2]->sigma);
    s.inertial_defect = Quantity{m[2] - m[0] - m[1], spread};
    const std::array<double, 3> planar = model::planar_moments(m);
    for (std::size_t k = 0; k < 3; ++k)
        s.planar_moments[k] = Quantity{planar[k], spread / 2};
}

} // namespace

bool has_moments(const Isotopologue& species) {
    return species.rotor.has_value();
}

void derive_from_moments(Isotopologue& s) {
    s.rotor = model::rotor_type(values_of(s.moments), s.spread);
    constants(s);
    planar_moments(s);
}

} // namespace tessen::rot
