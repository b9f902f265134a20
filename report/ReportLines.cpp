#include "report/ReportLines.hpp"

namespace tessen::report {

bool ReportLines::advance() {
    if (put_back_) {
        put_back_ = false;
        return true;
    }
    std::optional<std::string_view> record = deck_.read_record();
    if (!record)
        return false;
    previous_.swap(line_);
    line_.assign(*record);
    ++number_;
    return true;
}

std::optional<std::string_view> ReportLines::next_record() {
    if (!advance())
        return std::nullopt;
    return std::string_view(line_);
}

} // namespace tessen::report
