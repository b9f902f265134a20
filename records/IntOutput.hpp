#pragma once

#include <cstdint>
#include <string>

namespace tessen {

// Writes v by the item Iw: exactly w characters at dst, right-justified, "-" for a
// negative value, no "+", w asterisks when the digits do not fit. Returns dst + w.
char* edit_int(char* dst, std::int32_t v, int w);

std::string edit_int(std::int32_t v, int w);

} // namespace tessen
