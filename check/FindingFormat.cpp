#include "check/FindingFormat.hpp"

#include "records/Diagnostic.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>

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

std::string number_text(double value) {
    char text[64];
    const bool tiny = value != 0.0 && std::fabs(value) < 5e-7;
    std::snprintf(text, sizeof text, tiny ? "%.6g" : "%.6f", value);
    return text;
}

std::string quoted_text(std::string_view text, std::size_t longest) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return "''";
    text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
    std::string quoted = "'";
    quoted += shown_field_text(text.substr(0, longest));
    quoted += text.size() > longest ? "...'" : "'";
    return quoted;
}

} // namespace tessen::check
