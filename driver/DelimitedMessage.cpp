// DELIMLEN (the length of a delimited message) and SAYMSG (a delimited message as a
// console line).

#include "driver/DelimitedMessage.hpp"

#include "records/LayoutWriter.hpp"

#include <algorithm>

namespace tessen {

std::optional<std::int32_t> DELIMLEN(std::string_view text, std::int32_t declared_length) {
    const std::size_t last = std::min<std::size_t>(
        {kMaxDelimitedLength, text.size(), static_cast<std::size_t>(std::max(declared_length, 0))});
    for (std::size_t p = 2; p <= last; ++p) {
        if (text[p - 1] == text[0])
            return static_cast<std::int32_t>(p - 1);
    }
    return std::nullopt;
}

void SAYMSG(Console& console, std::string_view message) {
    static const Layout kMessage("(1X,A)");
    const std::int32_t length = DELIMLEN(message, kMaxDelimitedLength).value_or(0);
    std::string_view proper;
    if (length >= 2)
        proper = message.substr(1, static_cast<std::size_t>(length - 1));
    write_record(console, kMessage, proper);
}

} // namespace tessen
