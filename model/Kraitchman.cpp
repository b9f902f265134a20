#include "model/Kraitchman.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace tessen::model {

namespace {

// The equations that apply, by the parent's rotor type and the species.
enum class Case { asymmetric, linear, on_axis, off_axis };

// Relative step of the central differences that carry the moments' uncertainties on.
constexpr double kStep = 1e-6;

struct Axes {
    int unique = 0;                     // the symmetry axis: a of a prolate top, c of an oblate
    std::array<int, 2> perpendicular{}; // the two degenerate axes
};

Axes symmetric_axes(Rotor rotor) {
    return rotor == Rotor::oblate ? Axes{2, {0, 1}} : Axes{0, {1, 2}};
}

// The mean of the moments given on the axes listed; none when none is given.
std::optional<double> mean_of(const Moments& moments, std::initializer_list<int> axes) {
    double sum = 0;
    int count = 0;
    for (int g : axes)
        if (const auto& m = moments[static_cast<std::size_t>(g)]) {
            sum += *m;
            ++count;
        }
    if (count == 0)
        return std::nullopt;
    return sum / count;
}

bool all_given(const Moments& moments) {
    return std::all_of(moments.begin(), moments.end(), [](const auto& m) { return m.has_value(); });
}

double at(const Moments& moments, int g) {
    return *moments[static_cast<std::size_t>(g)];
}

// The species keeps the symmetry axis when it does not show two different perpendicular
// moments.
bool on_axis(const KraitchmanInput& input, const Axes& axes) {
    const Moments& m = input.species.moments;
    const auto& first = m[static_cast<std::size_t>(axes.perpendicular[0])];
    const auto& second = m[static_cast<std::size_t>(axes.perpendicular[1])];
    if (!first || !second)
        return true;
    const double largest = std::max({*first, *second, m[2].value_or(0.0)});
    return std::fabs(*first - *second) <= input.tolerance * largest;
}

// The case, or why none applies.
std::optional<Case> choose_case(const KraitchmanInput& input, std::string& note) {
    const Moments& parent = input.parent.moments;
    const Moments& species = input.species.moments;
    switch (input.rotor) {
    case Rotor::atom:
    case Rotor::spherical:
        note = std::string("the parent is ") +
               (input.rotor == Rotor::atom ? "an atom" : "a spherical top") +
               ": Kraitchman's equations give no coordinates";
        return std::nullopt;
    case Rotor::linear:
        if (mean_of(parent, {1, 2}) && mean_of(species, {1, 2}))
            return Case::linear;
        note = "the parent is linear: its B and the species' B are needed";
        return std::nullopt;
    case Rotor::asymmetric:
        if (all_given(parent) && all_given(species))
            return Case::asymmetric;
        note = "the parent is an asymmetric top: A, B and C of the parent and the species are "
               "needed";
        return std::nullopt;
    case Rotor::prolate:
    case Rotor::oblate:
        break;
    }
    const Axes axes = symmetric_axes(input.rotor);
    const auto [p, q] = axes.perpendicular;
    if (!mean_of(parent, {p, q})) {
        note = "the parent's perpendicular constant is needed";
        return std::nullopt;
    }
    if (on_axis(input, axes)) {
        if (mean_of(species, {p, q}))
            return Case::on_axis;
        note = "the species' perpendicular constant is needed";
        return std::nullopt;
    }
    if (parent[static_cast<std::size_t>(axes.unique)] && all_given(species))
        return Case::off_axis;
    note = std::string("the parent is a ") + rotor_name(input.rotor) +
           " top and the atom lies off its axis: the parent's " +
           (input.rotor == Rotor::prolate ? "A" : "C") + " and the species' A, B and C are needed";
    return std::nullopt;
}

// |a|^2, |b|^2, |c|^2 of an asymmetric parent.
std::vector<double> asymmetric_squares(const Moments& parent, const Moments& species, double mu) {
    std::array<double, 3> ip{}, is{};
    for (int g = 0; g < 3; ++g) {
        ip[static_cast<std::size_t>(g)] = at(parent, g);
        is[static_cast<std::size_t>(g)] = at(species, g);
    }
    const std::array<double, 3> p = planar_moments(ip);
    const std::array<double, 3> ps = planar_moments(is);
    std::vector<double> squares(3);
    for (std::size_t g = 0; g < 3; ++g) {
        double value = (ps[g] - p[g]) / mu;
        for (std::size_t h = 0; h < 3; ++h)
            if (h != g)
                value *= 1 + (ps[h] - p[h]) / (p[h] - p[g]);
        squares[g] = value;
    }
    return squares;
}

// |z|^2 of an atom on the axis of a linear or symmetric-top parent.
std::vector<double> axial_square(const Moments& parent, const Moments& species, double mu,
                                 std::array<int, 2> perpendicular) {
    const auto [p, q] = perpendicular;
    return {(*mean_of(species, {p, q}) - *mean_of(parent, {p, q})) / mu};
}

// r^2 and z^2 of an atom off the axis of a symmetric-top parent.
std::vector<double> off_axis_squares(const Moments& parent, const Moments& species, double mu,
                                     const Axes& axes) {
    const double iz = at(parent, axes.unique);
    const double iperp = *mean_of(parent, {axes.perpendicular[0], axes.perpendicular[1]});
    const double ia = at(species, 0), ib = at(species, 1), ic = at(species, 2);
    const double iy = (ia + ib + ic - iz) / 2;
    const double s = (iy - iperp) / mu;
    const double d = (ia * ib * ic / iy - iperp * iz) / mu;
    const double r2 = (d - iz * s) / (iperp - iz);
    return {r2, s - r2};
}

using Squares = std::function<std::vector<double>(const Moments&, const Moments&)>;

Squares squares_of(Case c, const KraitchmanInput& input, double mu) {
    const Axes axes = symmetric_axes(input.rotor);
    switch (c) {
    case Case::asymmetric:
        return [mu](const Moments& p, const Moments& s) { return asymmetric_squares(p, s, mu); };
    case Case::linear:
        return [mu](const Moments& p, const Moments& s) { return axial_square(p, s, mu, {1, 2}); };
    case Case::on_axis:
        return [mu, axes](const Moments& p, const Moments& s) {
            return axial_square(p, s, mu, axes.perpendicular);
        };
    case Case::off_axis:
        break;
    }
    return
        [mu, axes](const Moments& p, const Moments& s) { return off_axis_squares(p, s, mu, axes); };
}

// The uncertainty of each square carried on from the moments' uncertainties (central
// differences; the moments are independent).
std::vector<double> square_sigmas(const Squares& squares, const KraitchmanInput& input,
                                  std::size_t count) {
    std::vector<double> variance(count, 0.0);
    Moments parent = input.parent.moments;
    Moments species = input.species.moments;
    const auto vary = [&](Moments& moments, const std::array<double, 3>& sigma) {
        for (std::size_t k = 0; k < 3; ++k) {
            if (!moments[k] || !(sigma[k] > 0))
                continue;
            const double value = *moments[k];
            // A moment of 0 (a linear species' Ia) still gets a step.
            const double h = kStep * (std::fabs(value) + sigma[k]);
            moments[k] = value + h;
            const std::vector<double> up = squares(parent, species);
            moments[k] = value - h;
            const std::vector<double> down = squares(parent, species);
            moments[k] = value;
            for (std::size_t i = 0; i < count; ++i) {
                const double change = (up[i] - down[i]) / (2 * h) * sigma[k];
                variance[i] += change * change;
            }
        }
    };
    vary(parent, input.parent.sigma);
    vary(species, input.species.sigma);
    for (double& v : variance)
        v = std::sqrt(v);
    return variance;
}

// |g| from |g|^2 with its uncertainties: an uncertainty s of g^2 is min(s / 2|g|, sqrt(s))
// in g, finite at 0 (Costain's s is 2K).
SubstitutionCoordinate coordinate(double square, double square_sigma, double costain) {
    SubstitutionCoordinate c;
    c.imaginary = square < 0;
    c.value = square > 0 ? std::sqrt(square) : 0.0;
    const auto spread = [&](double s) {
        return c.value > 0 ? std::min(s / (2 * c.value), std::sqrt(s)) : std::sqrt(s);
    };
    c.costain = spread(2 * costain);
    c.sigma = spread(square_sigma);
    return c;
}

// A coordinate that symmetry makes 0, exactly.
SubstitutionCoordinate exact_zero() {
    return {};
}

} // namespace

Substitution kraitchman(const KraitchmanInput& input) {
    Substitution sub;
    const double dm = input.mass_change;
    sub.mu = input.total_mass * dm / (input.total_mass + dm);
    const std::optional<Case> c = choose_case(input, sub.note);
    if (!c)
        return sub;
    const Squares squares = squares_of(*c, input, sub.mu);
    const std::vector<double> values = squares(input.parent.moments, input.species.moments);
    const std::vector<double> sigmas = square_sigmas(squares, input, values.size());
    std::vector<SubstitutionCoordinate> found;
    for (std::size_t i = 0; i < values.size(); ++i)
        found.push_back(coordinate(values[i], sigmas[i], input.costain));
    switch (*c) {
    case Case::asymmetric:
        for (std::size_t g = 0; g < 3; ++g)
            sub.axes[g] = found[g];
        break;
    case Case::linear:
        sub.axes = {found[0], exact_zero(), exact_zero()};
        break;
    case Case::on_axis: {
        const Axes axes = symmetric_axes(input.rotor);
        sub.axes = {exact_zero(), exact_zero(), exact_zero()};
        sub.axes[static_cast<std::size_t>(axes.unique)] = found[0];
        sub.axial = found[0];
        sub.radial = exact_zero();
        break;
    }
    case Case::off_axis:
        sub.radial = found[0];
        sub.axial = found[1];
        break;
    }
    return sub;
}

} // namespace tessen::model
