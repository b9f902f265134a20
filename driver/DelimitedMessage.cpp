#include "driver/DelimitedMessage.hpp"

#include "records/LayoutWriter.hpp"

#include <algorithm>

namespace tessen {

void DELIMLEN(std::string_view text, std::int32_t declared_length, std::int32_t& length,
              std::int32_t& found) {
    found = 1;
    std::size_t last = std::min<std::size_t>(
        {100, text.size(), static_cast<std::size_t>(std::max(declared_length, 0))});
    for (std::size_t p = 2; p <= last; ++p) {
        if (text[p - 1] == text[0]) {
            length = static_cast<std::int32_t>(p - 1);
            return;
        }
    }
    found = -1;
}

void SAYMSG(Console& console, std::string_view message) {
    static const Layout kMessage("(1X,A)");
    std::int32_t length = 0;
    std::int32_t found = 0;
    DELIMLEN(message, 100, length, found);
    std::string_view proper;
    if (length >= 2)
        proper = message.substr(1, static_cast<std::size_t>(length - 1));
    write_record(console, kMessage, proper);
}

} // namespace tessen
