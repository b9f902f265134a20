#include "driver/ReportName.hpp"

#include <string>

namespace tessen {

void FINDDOT(const FileName& name, std::int32_t& stem_length, std::int32_t& found) {
    found = 1;
    for (std::size_t p = 2; p <= name.chars.size(); ++p) {
        if (name.chars[p - 1] == '.') {
            stem_length = static_cast<std::int32_t>(p - 1);
            return;
        }
    }
    found = -1;
}

FileName report_name_for(const FileName& input, std::int32_t stem_length) {
    std::string name(input.view().substr(0, static_cast<std::size_t>(stem_length)));
    return FileName(name + ".OUT");
}

} // namespace tessen
