#include "rot/Kraitchman.hpp"

#include <cmath>

namespace tessen::rot {

namespace {

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

model::KraitchmanSpecies printed_moments(const Isotopologue& s) {
    return {{s.moments[0], s.moments[1], s.moments[2]}, {}};
}

// The model's result in the report's terms: null where the equations give nothing.
void take_coordinates(const model::Substitution& found, Substitution& sub) {
    sub.note = found.note;
    for (std::size_t k = 0; k < 3; ++k) {
        if (!found.axes[k])
            continue;
        sub.coordinates[k] = found.axes[k]->value;
        if (found.axes[k]->imaginary)
            sub.imaginary.push_back(kAxisNames[k]);
        if (found.axes[k]->costain > 0)
            sub.costain[k] = found.axes[k]->costain;
    }
    if (found.axial) {
        sub.axial = found.axial->value;
        sub.axial_costain = found.axial->costain;
    }
    if (found.radial) {
        sub.radial = found.radial->value;
        sub.radial_costain = found.radial->costain;
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
    sub.parent_mass = *parent.masses[*atom];
    sub.mass = *species.masses[*atom];
    if (*atom < parent.coordinates.size())
        for (int k = 0; k < 3; ++k)
            if (const Value& c = parent.coordinates[*atom][k])
                sub.principal[k] = std::fabs(*c);
    model::KraitchmanInput input;
    input.rotor = *parent.rotor;
    input.parent = printed_moments(parent);
    input.species = printed_moments(species);
    input.total_mass = *parent.total_mass;
    input.mass_change = sub.mass - sub.parent_mass;
    const model::Substitution found = model::kraitchman(input);
    sub.mu = found.mu;
    take_coordinates(found, sub);
    return sub;
}

} // namespace tessen::rot
