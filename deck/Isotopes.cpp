#include "deck/Isotopes.hpp"

#include "model/MassTable.hpp"

#include <charconv>
#include <map>
#include <optional>

namespace tessen::deck {

namespace {

// The most abundant stable isotope after the main one, by atomic number; elements with one
// stable isotope have none.
const std::map<unsigned, unsigned> kMinorIsotopes = {
    {1, 2},   // 2H
    {3, 6},   // 6Li
    {5, 10},  // 10B
    {6, 13},  // 13C
    {7, 15},  // 15N
    {8, 18},  // 18O
    {12, 25}, // 25Mg
    {14, 29}, // 29Si
    {16, 34}, // 34S
    {17, 37}, // 37Cl
    {35, 81}, // 81Br
};

std::string isotope_name(unsigned mass_number, const std::string& symbol) {
    return std::to_string(mass_number) + symbol;
}

// The species title: the formula and the changes, "H2O 2:2H,3:2H".
std::string set_title(const Structure& s, const std::vector<IsotopeChange>& changes) {
    std::string title = s.formula;
    for (std::size_t c = 0; c < changes.size(); ++c) {
        title += c == 0 ? ' ' : ',';
        title += std::to_string(changes[c].atom) + ":" +
                 isotope_name(changes[c].mass_number, s.atoms[changes[c].atom - 1].symbol);
    }
    return title;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// One ATOM:ISOTOPE, or what is wrong with it.
std::variant<IsotopeChange, std::string> parse_change(const std::string& item, const Structure& s) {
    const std::size_t colon = item.find(':');
    if (colon == std::string::npos)
        return "'" + item + "' is not ATOM:ISOTOPE";
    const std::string atom_text = trimmed(item.substr(0, colon));
    const std::string isotope = trimmed(item.substr(colon + 1));
    int atom = 0;
    const auto [end, ec] =
        std::from_chars(atom_text.data(), atom_text.data() + atom_text.size(), atom);
    if (ec != std::errc() || end != atom_text.data() + atom_text.size() || atom < 1 ||
        atom > static_cast<int>(s.atoms.size()))
        return "atom '" + atom_text + "' is not an atom number of 1 to " +
               std::to_string(s.atoms.size());
    const std::optional<model::KnownMass> known = model::isotope_by_name(isotope);
    if (!known)
        return "unknown isotope '" + isotope + "'";
    const InputAtom& a = s.atoms[atom - 1];
    if (known->atomic_number != a.atomic_number)
        return "atom " + std::to_string(atom) + " is " + a.symbol + ", not " + known->symbol;
    return IsotopeChange{atom, known->mass_number, known->mass};
}

} // namespace

std::variant<IsotopeSet, std::string> parse_isotopologue(const std::string& substitutions,
                                                         const Structure& structure) {
    IsotopeSet set;
    std::size_t from = 0;
    while (from <= substitutions.size()) {
        const std::size_t comma = std::min(substitutions.find(',', from), substitutions.size());
        auto change = parse_change(substitutions.substr(from, comma - from), structure);
        if (auto* error = std::get_if<std::string>(&change))
            return "--isotopologue " + substitutions + ": " + *error;
        set.changes.push_back(std::get<IsotopeChange>(change));
        from = comma + 1;
    }
    set.title = set_title(structure, set.changes);
    return set;
}

std::vector<IsotopeSet> single_substitutions(const Structure& structure) {
    std::vector<IsotopeSet> sets;
    for (std::size_t i = 0; i < structure.atoms.size(); ++i) {
        const InputAtom& a = structure.atoms[i];
        const auto minor = kMinorIsotopes.find(a.atomic_number);
        if (minor == kMinorIsotopes.end())
            continue;
        const std::optional<model::KnownMass> isotope =
            model::isotope_by_name(isotope_name(minor->second, a.symbol));
        if (!isotope)
            continue;
        const IsotopeChange change{static_cast<int>(i) + 1, isotope->mass_number, isotope->mass};
        sets.push_back({{change}, set_title(structure, {change})});
    }
    return sets;
}

} // namespace tessen::deck
