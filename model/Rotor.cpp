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

Rotor rotor_type(const std::array<double, 3>& moments, double tolerance) {
    const double ia = moments[0], ib = moments[1], ic = moments[2];
    if (ic <= kAtomMoment)
        return Rotor::atom;
    const double tol = tolerance * ic;
    if (ia <= tol)
        return Rotor::linear;
    if (ic - ia <= tol)
        return Rotor::spherical;
    if (ic - ib <= tol)
        return Rotor::prolate;
    if (ib - ia <= tol)
        return Rotor::oblate;
    return Rotor::asymmetric;
}

bool is_symmetric_top(Rotor rotor) {
    return rotor == Rotor::prolate || rotor == Rotor::oblate;
}

std::array<double, 3> planar_moments(const std::array<double, 3>& m) {
    return {(-m[0] + m[1] + m[2]) / 2, (m[0] - m[1] + m[2]) / 2, (m[0] + m[1] - m[2]) / 2};
}

} // namespace tessen::model
