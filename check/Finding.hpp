#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tessen::check {

enum class Severity {
    warning, // the deck runs, but not as its writer most likely meant
    error,   // tessen would stop here with this diagnostic
};

// One finding, at the line (and, where one is named, the column) of the record at fault.
struct Finding {
    std::string file;
    std::size_t line = 0;
    std::optional<std::size_t> column; // counted from 1
    Severity severity = Severity::warning;
    std::string code; // a short stable name, such as "blank-mass"
    std::string message;
};

const char* severity_name(Severity severity);

} // namespace tessen::check
