#pragma once

#include "check/Finding.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace tessen::check {

// FILE:LINE: SEVERITY: TEXT, or FILE:LINE:COLUMN: SEVERITY: TEXT (the convention that
// editors and CI jump to).
std::string finding_line(const Finding& finding);

// The findings as a JSON array of objects with the keys file, line, column (or null),
// severity, code and message.
std::string findings_json(const std::vector<Finding>& findings);

// A value as the messages show it: six decimals, or more digits when six show nothing.
std::string number_text(double value);

// Typed text as the messages quote it: without the blanks around it, control characters
// as \t or \xNN, and cut to `longest` characters with "..." after a longer one.
std::string quoted_text(std::string_view text, std::size_t longest = 24);

} // namespace tessen::check
