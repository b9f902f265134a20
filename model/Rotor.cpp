#include "model/Rotor.hpp"

namespace tessen::model {

const char* rotor_name(Rotor rotor) {
    switch (rotor) {
    case Rotor::atom:
        return "atom";
    case Rotor::linear:
        return "linear";
    case Rotor::spherical:
        return "spherical";
    case Rotor::prolate:
        return "prolate";
    case Rotor::oblate:
        return "oblate";
    case Rotor::asymmetric:
        break;
    }
    return "asymmetric";
}

namespace {

// The type by tessen's order of questions, with equal(g, h) telling whether two moments
// count as one and equal(0, -1) whether Ia counts as zero.
template <typename Equal> Rotor classify(const std::array<double, 3>& moments, Equal equal) {
    if (moments[2] <= kAtomMoment)
        return Rotor::atom;
    if (equal(0, -1))
        return Rotor::linear;
    if (equal(0, 2))
        return Rotor::spherical;
    if (equal(1, 2))
        return Rotor::prolate;
    if (equal(0, 1))
        return Rotor::oblate;
    return Rotor::asymmetric;
}

} // namespace

Rotor rotor_type(const std::array<double, 3>& moments, double tolerance) {
    const double tol = tolerance * moments[2];
    return classify(moments, [&](int g, int h) {
        return (h < 0 ? moments[0] : moments[h] - moments[g]) <= tol;
    });
}

Rotor rotor_type(const std::array<double, 3>& moments, const std::array<double, 3>& spread) {
    const auto at = [](const std::array<double, 3>& values, int g) {
        return values[static_cast<std::size_t>(g)];
    };
    return classify(moments, [&](int g, int h) {
        if (h < 0)
            return at(moments, g) <= at(spread, g);
        return at(moments, h) - at(moments, g) <= at(spread, g) + at(spread, h);
    });
}

bool is_symmetric_top(Rotor rotor) {
    return rotor == Rotor::prolate || rotor == Rotor::oblate;
}

std::array<double, 3> planar_moments(const std::array<double, 3>& m) {
    return {(-m[0] + m[1] + m[2]) / 2, (m[0] - m[1] + m[2]) / 2, (m[0] + m[1] - m[2]) / 2};
}

} // namespace tessen::model
