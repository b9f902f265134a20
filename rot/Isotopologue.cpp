#include "rot/Isotopologue.hpp"

#include <algorithm>
#include <numeric>

namespace tessen::rot {

namespace {

// A = F/Ia, B = F/Ib, C = F/Ic: A has none for a linear rotor, nothing for an atom.
void constants(Isotopologue& s) {
    if (*s.rotor == Rotor::atom)
        return;
    for (int k = 0; k < 3; ++k) {
        if (k == 0 && *s.rotor == Rotor::linear)
            continue;
        s.constants_mhz[k] = kConstantFactor / *s.moments[k];
        s.constants_cm[k] = *s.constants_mhz[k] / kMhzPerWavenumber;
    }
    const Rotor r = *s.rotor;
    if (r == Rotor::asymmetric || r == Rotor::prolate || r == Rotor::oblate) {
        const double a = *s.constants_mhz[0], b = *s.constants_mhz[1], c = *s.constants_mhz[2];
        s.kappa = (2 * b - a - c) / (a - c);
    }
}

void planar_moments(Isotopologue& s) {
    const double ia = *s.moments[0], ib = *s.moments[1], ic = *s.moments[2];
    s.inertial_defect = ic - ia - ib;
    const std::array<double, 3> planar = model::planar_moments({ia, ib, ic});
    for (std::size_t k = 0; k < 3; ++k)
        s.planar_moments[k] = planar[k];
}

// The principal coordinates of every atom relabelled: a is the column of Ia, and so on.
void relabel_coordinates(const report::MassBlock& block, Isotopologue& s) {
    if (!block.principal)
        return;
    for (const report::ListingRow& row : block.principal->rows) {
        const std::array<report::Shown, 3> xyz = {row.x, row.y, row.z};
        Axes abc;
        for (int k = 0; k < 3; ++k)
            abc[k] = xyz[s.columns[k] - 1];
        s.coordinates.push_back(abc);
    }
}

} // namespace

bool has_moments(const Isotopologue& species) {
    return species.rotor.has_value();
}

Isotopologue analyse_block(const report::MassBlock& block) {
    Isotopologue s;
    s.title = block.title;
    s.total_mass = block.total_mass;
    if (block.principal)
        for (const report::ListingRow& row : block.principal->rows)
            s.masses.push_back(row.mass);
    const report::ShownTriple& printed = block.principal_moments;
    if (!std::all_of(printed.begin(), printed.end(), [](const report::Shown& m) { return m; }))
        return s;
    // Sorted Ia <= Ib <= Ic; equal moments keep the report's order.
    std::array<int, 3> order = {0, 1, 2};
    std::stable_sort(order.begin(), order.end(),
                     [&](int p, int q) { return *printed[p] < *printed[q]; });
    for (int k = 0; k < 3; ++k) {
        s.moments[k] = printed[order[k]];
        s.columns[k] = order[k] + 1;
    }
    s.rotor = model::rotor_type({*s.moments[0], *s.moments[1], *s.moments[2]});
    constants(s);
    planar_moments(s);
    relabel_coordinates(block, s);
    return s;
}

} // namespace tessen::rot
