#include "check/FindingFormat.hpp"

#include <nlohmann/json.hpp>

namespace tessen::check {

std::string finding_line(const Finding& f) {
    std::string text = f.file + ":" + std::to_string(f.line) + ":";
    if (f.column)
        text += std::to_string(*f.column) + ":";
    return text + " " + severity_name(f.severity) + ": " + f.message;
}

std::string findings_json(const std::vector<Finding>& findings) {
    nlohmann::json array = nlohmann::json::array();
    for (const Finding& f : findings) {
        array.push_back({{"file", f.file},
                         {"line", f.line},
                         {"column", f.column ? nlohmann::json(*f.column) : nlohmann::json()},
                         {"severity", severity_name(f.severity)},
                         {"code", f.code},
                         {"message", f.message}});
    }
    // Bytes that are not UTF-8 (a deck's own text in a message) are replaced, not refused.
    return array.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

} // namespace tessen::check
