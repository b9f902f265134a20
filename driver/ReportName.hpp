#pragma once

#include "driver/NameDialogue.hpp"

#include <cstdint>

namespace tessen {

// Finds the leftmost period at positions 2 to 12 (counted from 1) of the name: the stem
// length is its position minus one and found is 1; found is -1 when there is none (a
// period in position 1 is never found) and the stem length is left as it was.
void FINDDOT(const FileName& name, std::int32_t& stem_length, std::int32_t& found);

// The report name: the stem followed by ".OUT", cut to 12 characters.
FileName report_name_for(const FileName& input, std::int32_t stem_length);

} // namespace tessen
