#pragma once

#include "records/Console.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessen {

// A delimited message: its first character is the delimiter, and the message proper
// runs to the next occurrence of that character.

// The program's own delimited messages close within their first kMaxDelimitedLength
// characters.
inline constexpr std::int32_t kMaxDelimitedLength = 100;

// Finds the closing delimiter among positions 2 to kMaxDelimitedLength (counted from 1),
// never past the declared length or the end of the text, and returns its position minus
// one: the length of the opening delimiter and the message proper. Nothing when there is
// no closing delimiter there.
std::optional<std::int32_t> DELIMLEN(std::string_view text, std::int32_t declared_length);

// Writes the message proper as one console record by "(1X,A)".
void SAYMSG(Console& console, std::string_view message);

} // namespace tessen
