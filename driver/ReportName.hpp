#pragma once

#include "driver/NameDialogue.hpp"

#include <cstdint>
#include <optional>

namespace tessen {

// Finds the leftmost period at positions 2 to 12 (counted from 1) of the name and returns
// the stem length, its position minus one; nothing when there is none (a period in
// position 1 is never found).
std::optional<std::int32_t> FINDDOT(const FileName& name);

// The report name: the stem followed by ".OUT", cut to 12 characters.
FileName report_name_for(const FileName& input, std::int32_t stem_length);

} // namespace tessen
