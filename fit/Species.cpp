#include "fit/Species.hpp"

#include "companion/CommandError.hpp"
#include "model/IsotopeList.hpp"
#include "model/Kraitchman.hpp"

#include <cmath>

namespace tessen::fit {

namespace {

using companion::CommandError;

constexpr const char* kConstantNames[3] = {"A", "B", "C"};

std::vector<double> row_masses(const ObservedRow& row, const model::DeckMolecule& molecule) {
    if (row.set) {
        const int sets = static_cast<int>(molecule.mass_sets.size());
        if (*row.set < 1 || *row.set > sets)
            throw CommandError(2, "set " + std::to_string(*row.set) +
                                      " is not a mass set of the deck (1 to " +
                                      std::to_string(sets) + ")");
        return molecule.mass_sets[static_cast<std::size_t>(*row.set) - 1].masses;
    }
    if (row.isotopologue.empty())
        return molecule.mass_sets.front().masses;
    return model::substituted_masses(molecule.mass_sets.front().masses,
                                     model::parse_isotope_list(row.isotopologue));
}

Species species_of(const ObservedRow& row, bool weighted, const model::DeckMolecule& molecule) {
    Species s;
    s.line = row.line;
    s.label = row.label;
    s.masses = row_masses(row, molecule);
    s.parent = same_masses(s.masses, molecule.mass_sets.front().masses);
    for (std::size_t g = 0; g < 3; ++g) {
        if (!row.constant[g])
            continue;
        s.constants[g] = *row.constant[g] + row.correction[g];
        if (!(*s.constants[g] > 0))
            throw CommandError(2, std::string(kConstantNames[g]) +
                                      " with its correction is not above 0");
        if (!weighted)
            continue;
        if (!row.sigma[g])
            throw CommandError(2, std::string("sigma_") + kConstantNames[g] + " is needed where " +
                                      kConstantNames[g] + " is given");
        s.sigma[g] = *row.sigma[g];
    }
    return s;
}

} // namespace

bool same_masses(const std::vector<double>& x, const std::vector<double>& y) {
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (std::fabs(x[i] - y[i]) > model::kMassDifference)
            return false;
    return true;
}

std::vector<Species> match_species(const ObservedTable& table, const model::DeckMolecule& molecule,
                                   const std::string& file) {
    std::vector<Species> species;
    for (const ObservedRow& row : table.rows) {
        try {
            species.push_back(species_of(row, table.weighted, molecule));
        } catch (const CommandError& error) {
            throw CommandError(2, error.what(), file, row.line);
        }
        for (std::size_t k = 0; k + 1 < species.size(); ++k)
            if (same_masses(species[k].masses, species.back().masses))
                throw CommandError(
                    2, "the same isotopologue as line " + std::to_string(species[k].line), file,
                    row.line);
    }
    return species;
}

} // namespace tessen::fit
