#pragma once

#include "check/FieldTraps.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tessen::check {

// The traps in how an atom record is typed, in column order: numbers run together or
// holding a blank, a value where the record does not use it, a mass that is no atom's
// (unless `mass_reported` says its field has a finding already), and text past the last
// field. `index` is the record's place in its molecule (from 1), `first_atom` the atom
// number of the molecule's first record.
std::vector<FieldTrap> atom_record_traps(std::string_view record, std::int32_t index,
                                         std::int32_t first_atom, bool mass_reported);

// The traps of a counts record: a number holding a blank, text past the isotope flag.
std::vector<FieldTrap> counts_record_traps(std::string_view record);

} // namespace tessen::check
