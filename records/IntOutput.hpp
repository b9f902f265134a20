#pragma once

#include <cstdint>
#include <string>

namespace tessen {

// Writes v by the item Iw: exactly w characters at dst, right-justified, "-" for a
// negative value, no "+", w asterisks when the digits do not fit. Returns dst + w.
char* edit_int(char* dst, std::int32_t v, int w);

// The same field, for a caller that has room for at least 8 bytes from dst on (the
// record buffer): what lies past the field's w columns is overwritten. Returns dst + w.
char* edit_int_in_slack(char* dst, std::int32_t v, int w);

std::string edit_int(std::int32_t v, int w);

} // namespace tessen
