#include "model/MassTable.hpp"

#include <openbabel/elements.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

namespace tessen::model {

namespace {

// Elements Open Babel knows, by atomic number.
constexpr unsigned kLastElement = 118;

// Every isotope and standard weight of Open Babel's tables, in order of mass.
std::vector<KnownMass> make_table() {
    std::vector<KnownMass> table;
    for (unsigned z = 1; z <= kLastElement; ++z) {
        const std::string symbol = OpenBabel::OBElements::GetSymbol(z);
        const double main_mass = OpenBabel::OBElements::GetExactMass(z);
        const double weight = OpenBabel::OBElements::GetMass(z);
        if (weight > 0)
            table.push_back({z, symbol, 0, weight, true});
        // Isotopes lie within a few hundred mass numbers of Z; Open Babel gives 0 for one
        // it does not list.
        for (unsigned a = z; a <= 3 * z + 20; ++a) {
            const double mass = OpenBabel::OBElements::GetExactMass(z, a);
            if (mass > 0)
                table.push_back({z, symbol, a, mass, mass == main_mass});
        }
    }
    std::sort(table.begin(), table.end(),
              [](const KnownMass& x, const KnownMass& y) { return x.mass < y.mass; });
    return table;
}

const std::vector<KnownMass>& table() {
    static const std::vector<KnownMass> masses = make_table();
    return masses;
}

// Whether x is a better reading of `mass` than y: a main mass first, then the nearer.
bool better(const KnownMass& x, const KnownMass& y, double mass) {
    if (x.main != y.main)
        return x.main;
    return std::abs(x.mass - mass) < std::abs(y.mass - mass);
}

} // namespace

std::string KnownMass::name() const {
    return mass_number == 0 ? symbol : std::to_string(mass_number) + symbol;
}

std::optional<KnownMass> nearest_known_mass(double mass) {
    if (!(mass > 0) || !std::isfinite(mass))
        return std::nullopt;
    const auto& masses = table();
    const auto above =
        std::lower_bound(masses.begin(), masses.end(), mass,
                         [](const KnownMass& known, double value) { return known.mass < value; });
    if (above == masses.begin())
        return *above;
    if (above == masses.end())
        return masses.back();
    const auto below = std::prev(above);
    return mass - below->mass <= above->mass - mass ? *below : *above;
}

std::optional<KnownMass> identify_mass(double mass, double tolerance) {
    if (!(mass > 0) || !std::isfinite(mass))
        return std::nullopt;
    std::optional<KnownMass> best;
    const auto& masses = table();
    auto it =
        std::lower_bound(masses.begin(), masses.end(), mass - tolerance,
                         [](const KnownMass& known, double value) { return known.mass < value; });
    for (; it != masses.end() && it->mass <= mass + tolerance; ++it)
        if (!best || better(*it, *best, mass))
            best = *it;
    return best;
}

std::optional<KnownMass> isotope_by_name(const std::string& name) {
    const std::string text = name == "D" ? "2H" : name == "T" ? "3H" : name;
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits])))
        ++digits;
    unsigned mass_number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + digits, mass_number);
    if (digits == 0 || ec != std::errc() || digits == text.size())
        return std::nullopt;
    const std::string symbol = text.substr(digits);
    const unsigned z = OpenBabel::OBElements::GetAtomicNum(symbol.c_str());
    if (z == 0 || OpenBabel::OBElements::GetSymbol(z) != symbol)
        return std::nullopt;
    const double mass = OpenBabel::OBElements::GetExactMass(z, mass_number);
    if (!(mass > 0))
        return std::nullopt;
    return KnownMass{z, symbol, mass_number, mass, mass == OpenBabel::OBElements::GetExactMass(z)};
}

} // namespace tessen::model
