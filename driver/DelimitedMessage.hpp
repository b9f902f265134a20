#pragma once

#include "records/Console.hpp"

#include <cstdint>
#include <string_view>

namespace tessen {

// A delimited message: its first character is the delimiter, and the message proper
// runs to the next occurrence of that character.

// Finds the closing delimiter among positions 2 to 100 (counted from 1), never past the
// declared length or the end of the text. When found, length becomes its position minus
// one (the opening delimiter and the message proper) and found becomes 1; otherwise found
// becomes -1 and length is left as it was.
void DELIMLEN(std::string_view text, std::int32_t declared_length, std::int32_t& length,
              std::int32_t& found);

// Writes the message proper as one console record by "(1X,A)".
void SAYMSG(Console& console, std::string_view message);

} // namespace tessen
