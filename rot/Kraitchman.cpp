#include "rot/Kraitchman.hpp"

#include <cmath>

namespace tessen::rot {

namespace {

// Costain's estimate of the uncertainty of a substitution coordinate, in A.
constexpr double kCostainConstant = 0.0015;
constexpr char kAxisNames[3] = {'a', 'b', 'c'};

// The one atom whose mass differs between the two, from 0; nothing when none or several
// do, or a mass is not printed.
std::optional<std::size_t> substituted_atom(const Isotopologue& parent,
                                            const Isotopologue& species) {
    if (parent.masses.size() != species.masses.size() || parent.masses.empty())
        return std::nullopt;
    std::optional<std::size_t> atom;
    for (std::size_t i = 0; i < parent.masses.size(); ++i) {
        if (!parent.masses[i] || !species.masses[i])
            return std::nullopt;
        if (std::fabs(*species.masses[i] - *parent.masses[i]) > kMassDifference) {
            if (atom)
                return std::nullopt;
            atom = i;
        }
    }
    return atom;
}

// |g|^2 for each axis by the equations for the parent's rotor type, or a note why there
// is none.
std::optional<std::array<double, 3>> squared_coordinates(const Isotopologue& parent,
                                                         const Isotopologue& species, double mu,
                                                         std::string& note) {
    if (*parent.rotor == Rotor::linear) {
        return std::array<double, 3>{(*species.moments[1] - *parent.moments[1]) / mu, 0.0, 0.0};
    }
    if (*parent.rotor != Rotor::asymmetric) {
        note = std::string("the parent is ") +
               (*parent.rotor == Rotor::atom
                    ? "an atom"
                    : std::string("a ") + rotor_name(*parent.rotor) + " top") +
               ": Kraitchman's equations are used here for asymmetric and linear parents only";
        return std::nullopt;
    }
    std::array<double, 3> p{}, dp{};
    for (int k = 0; k < 3; ++k) {
        p[k] = *parent.planar_moments[k];
        dp[k] = *species.planar_moments[k] - p[k];
    }
    std::array<double, 3> squared{};
    for (int g = 0; g < 3; ++g) {
        double value = dp[g] / mu;
        for (int h = 0; h < 3; ++h)
            if (h != g)
                value *= 1 + dp[h] / (p[h] - p[g]);
        squared[g] = value;
    }
    return squared;
}

} // namespace

std::optional<Substitution> kraitchman(const Isotopologue& parent, const Isotopologue& species) {
    if (!has_moments(parent) || !has_moments(species) || !parent.total_mass)
        return std::nullopt;
    const std::optional<std::size_t> atom = substituted_atom(parent, species);
    if (!atom)
        return std::nullopt;
    Substitution sub;
    sub.atom = static_cast<int>(*atom) + 1;
    sub.parent_mass = *parent.masses[*atom];
    sub.mass = *species.masses[*atom];
    const double total = *parent.total_mass;
    const double dm = sub.mass - sub.parent_mass;
    sub.mu = total * dm / (total + dm);
    if (*atom < parent.coordinates.size())
        for (int k = 0; k < 3; ++k)
            if (const Value& c = parent.coordinates[*atom][k])
                sub.principal[k] = std::fabs(*c);
    const std::optional<std::array<double, 3>> squared =
        squared_coordinates(parent, species, sub.mu, sub.note);
    if (!squared)
        return sub;
    for (int k = 0; k < 3; ++k) {
        const double value = (*squared)[k];
        if (value < 0)
            sub.imaginary.push_back(kAxisNames[k]);
        const double coordinate = value > 0 ? std::sqrt(value) : 0.0;
        sub.coordinates[k] = coordinate;
        if (coordinate > 0)
            sub.costain[k] = kCostainConstant / coordinate;
    }
    return sub;
}

} // namespace tessen::rot
