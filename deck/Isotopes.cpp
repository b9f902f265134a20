#include "deck/Isotopes.hpp"

#include "companion/CommandError.hpp"
#include "model/IsotopeList.hpp"
#include "model/MassTable.hpp"

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

// One ATOM:ISOTOPE of the list, or what is wrong with it for this structure.
std::variant<IsotopeChange, std::string> change_of(const model::IsotopeChoice& choice,
                                                   const Structure& s) {
    if (choice.atom > static_cast<int>(s.atoms.size()))
        return "atom " + std::to_string(choice.atom) + " is not an atom of the molecule (1 to " +
               std::to_string(s.atoms.size()) + ")";
    const std::optional<model::KnownMass> known = model::isotope_by_name(choice.isotope);
    if (!known)
        return "unknown isotope '" + choice.isotope + "'";
    const InputAtom& a = s.atoms[choice.atom - 1];
    if (known->atomic_number != a.atomic_number)
        return "atom " + std::to_string(choice.atom) + " is " + a.symbol + ", not " + known->symbol;
    return IsotopeChange{choice.atom, known->mass_number, known->mass};
}

} // namespace

// The list's syntax is the one tessen-fit reads (model::parse_isotope_list).
std::variant<IsotopeSet, std::string> parse_isotopologue(const std::string& substitutions,
                                                         const Structure& structure) {
    const std::string context = "--isotopologue " + substitutions + ": ";
    std::vector<model::IsotopeChoice> choices;
    try {
        choices = model::parse_isotope_list(substitutions);
    } catch (const companion::CommandError& error) {
        return context + error.what();
    }
    IsotopeSet set;
    for (const model::IsotopeChoice& choice : choices) {
        auto change = change_of(choice, structure);
        if (auto* error = std::get_if<std::string>(&change))
            return context + *error;
        set.changes.push_back(std::get<IsotopeChange>(change));
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
