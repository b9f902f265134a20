// FINDDOT (the period of the input name) and the report name formed from the stem.

#include "driver/ReportName.hpp"

#include <string>

namespace tessen {

std::optional<std::int32_t> FINDDOT(const FileName& name) {
    for (std::size_t p = 2; p <= name.chars.size(); ++p) {
        if (name.chars[p - 1] == '.')
            return static_cast<std::int32_t>(p - 1);
    }
    return std::nullopt;
}

FileName report_name_for(const FileName& input, std::int32_t stem_length) {
    std::string name(input.view().substr(0, static_cast<std::size_t>(stem_length)));
    return FileName(name + ".OUT");
}

} // namespace tessen
