#pragma once

#include "fit/ParameterMap.hpp"
#include "model/DeckMolecule.hpp"

#include <string>
#include <vector>

namespace tessen::fit {

// The deck with fitted values put into its atom records and every other byte as read: each
// varied field (R in columns 13-24, A in 25-36, T in 37-48) is written F12.6 in its columns.
// A record whose fields do not stand in their columns (a comma ends one early, a tab) is
// written whole in the atom record's layout instead.
std::string deck_with_values(const std::string& deck, const model::DeckMolecule& molecule,
                             const std::vector<StructureParameter>& parameters,
                             const std::vector<model::AtomRecord>& fitted);

} // namespace tessen::fit
