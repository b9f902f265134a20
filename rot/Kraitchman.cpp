#include "rot/Kraitchman.hpp"

#include <algorithm>
#include <cmath>

namespace tessen::rot {

namespace {

constexpr char kAxisNames[3] = {'a', 'b', 'c'};

// The one atom whose mass differs between the two, from 0; nothing when none or several
// do, or a mass is not known.
std::optional<std::size_t> substituted_atom(const Isotopologue& parent,
                                            const Isotopologue& species) {
    if (parent.masses.size() != species.masses.size() || parent.masses.empty())
        return std::nullopt;
    std::optional<std::size_t> atom;
    for (std::size_t i = 0; i < parent.masses.size(); ++i) {
        if (!parent.masses[i] || !species.masses[i])
            return std::nullopt;
        if (std::fabs(species.masses[i]->value - parent.masses[i]->value) > kMassDifference) {
            if (atom)
                return std::nullopt;
            atom = i;
        }
    }
    return atom;
}

model::KraitchmanSpecies moments_of(const Isotopologue& s) {
    model::KraitchmanSpecies k;
    for (std::size_t g = 0; g < 3; ++g) {
        k.moments[g] = s.moments[g]->value;
        k.sigma[g] = s.moments[g]->sigma;
    }
    return k;
}

// The species' two moments across the parent's symmetry axis (b and c of a prolate top,
// a and b of an oblate one) count as one when they differ by no more than the sum of
// their spreads: that sum as a fraction of the species' Ic, as the equations take it.
double axis_tolerance(Rotor parent, const Isotopologue& species) {
    const std::size_t first = parent == Rotor::oblate ? 0 : 1;
    const double ic = species.moments[2]->value;
    if (!(ic > 0))
        return model::kRotorTolerance;
    return (species.spread[first] + species.spread[first + 1]) / ic;
}

// mu = M dm / (M + dm) with its uncertainty from those of M and of the two masses.
Quantity reduced_mass(const Quantity& total, const Quantity& parent, const Quantity& mass) {
    const double m = total.value, dm = mass.value - parent.value;
    const double mu = m * dm / (m + dm);
    const double by_total = 1 / m - 1 / (m + dm); // d ln mu / dM
    const double by_change = 1 / dm - 1 / (m + dm);
    const double change_sigma = std::hypot(parent.sigma, mass.sigma);
    return {mu, std::fabs(mu) * std::hypot(by_total * total.sigma, by_change * change_sigma)};
}

// A coordinate as the equations give it, with its uncertainty widened by mu's (|g|^2 goes
// as 1 / mu, so |g| carries half of mu's relative uncertainty).
Quantity coordinate(const model::SubstitutionCoordinate& c, const Quantity& mu) {
    const double from_mu = c.value * mu.sigma / (2 * std::fabs(mu.value));
    return {c.value, std::hypot(c.sigma, from_mu)};
}

// The model's result in the isotopologue's terms: null where the equations give nothing.
void take_coordinates(const model::Substitution& found, Substitution& sub) {
    sub.note = found.note;
    for (std::size_t k = 0; k < 3; ++k) {
        if (!found.axes[k])
            continue;
        sub.coordinates[k] = coordinate(*found.axes[k], sub.mu);
        if (found.axes[k]->imaginary)
            sub.imaginary.push_back(kAxisNames[k]);
        if (found.axes[k]->costain > 0)
            sub.costain[k] = Quantity{found.axes[k]->costain, 0};
    }
    if (found.axial) {
        sub.axial = coordinate(*found.axial, sub.mu);
        sub.axial_costain = Quantity{found.axial->costain, 0};
    }
    if (found.radial) {
        sub.radial = coordinate(*found.radial, sub.mu);
        sub.radial_costain = Quantity{found.radial->costain, 0};
    }
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
    sub.parent_mass = parent.masses[*atom]->value;
    sub.mass = species.masses[*atom]->value;
    if (*atom < parent.coordinates.size())
        for (std::size_t k = 0; k < 3; ++k)
            if (const Value& c = parent.coordinates[*atom][k])
                sub.principal[k] = Quantity{std::fabs(c->value), c->sigma};
    sub.mu = reduced_mass(*parent.total_mass, *parent.masses[*atom], *species.masses[*atom]);
    model::KraitchmanInput input;
    input.rotor = *parent.rotor;
    input.parent = moments_of(parent);
    input.species = moments_of(species);
    input.total_mass = parent.total_mass->value;
    input.mass_change = sub.mass - sub.parent_mass;
    input.tolerance = axis_tolerance(input.rotor, species);
    take_coordinates(model::kraitchman(input), sub);
    return sub;
}

void substitute_against_parent(std::vector<Isotopologue>& isotopologues) {
    for (std::size_t k = 1; k < isotopologues.size(); ++k)
        isotopologues[k].substitution = kraitchman(isotopologues.front(), isotopologues[k]);
}

} // namespace tessen::rot
