#include "model/IsotopeList.hpp"

#include "companion/CommandError.hpp"
#include "model/MassTable.hpp"

#include <charconv>

namespace tessen::model {

namespace {

using companion::CommandError;

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

IsotopeChoice parse_item(const std::string& item) {
    const std::size_t colon = item.find(':');
    if (colon == std::string::npos)
        throw CommandError(2, "'" + trimmed(item) + "' is not ATOM:ISOTOPE");
    const std::string atom_text = trimmed(item.substr(0, colon));
    IsotopeChoice choice;
    choice.isotope = trimmed(item.substr(colon + 1));
    const auto [end, ec] =
        std::from_chars(atom_text.data(), atom_text.data() + atom_text.size(), choice.atom);
    if (ec != std::errc() || end != atom_text.data() + atom_text.size() || choice.atom < 1)
        throw CommandError(2, "'" + atom_text + "' is not an atom number");
    return choice;
}

} // namespace

std::vector<IsotopeChoice> parse_isotope_list(const std::string& text) {
    std::vector<IsotopeChoice> choices;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        choices.push_back(parse_item(text.substr(start, comma - start)));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return choices;
}

std::vector<double> substituted_masses(const std::vector<double>& own_masses,
                                       const std::vector<IsotopeChoice>& choices) {
    std::vector<double> masses = own_masses;
    for (const IsotopeChoice& choice : choices) {
        if (choice.atom > static_cast<int>(own_masses.size()))
            throw CommandError(2, "atom " + std::to_string(choice.atom) +
                                      " is not an atom of the molecule (1 to " +
                                      std::to_string(own_masses.size()) + ")");
        const std::optional<KnownMass> isotope = isotope_by_name(choice.isotope);
        if (!isotope)
            throw CommandError(2, "unknown isotope '" + choice.isotope + "'");
        const double own = own_masses[static_cast<std::size_t>(choice.atom) - 1];
        const std::optional<KnownMass> element = identify_mass(own);
        if (!element)
            throw CommandError(2, "atom " + std::to_string(choice.atom) + " (mass " +
                                      std::to_string(own) + ") is no known element");
        if (element->atomic_number != isotope->atomic_number)
            throw CommandError(2, "atom " + std::to_string(choice.atom) + " is " + element->symbol +
                                      ", not " + isotope->symbol);
        masses[static_cast<std::size_t>(choice.atom) - 1] = isotope->mass;
    }
    return masses;
}

} // namespace tessen::model
