#pragma once

#include "check/Finding.hpp"

#include <string>
#include <vector>

namespace tessen::check {

// FILE:LINE: SEVERITY: TEXT, or FILE:LINE:COLUMN: SEVERITY: TEXT (the convention that
// editors and CI jump to).
std::string finding_line(const Finding& finding);

// The findings as a JSON array of objects with the keys file, line, column (or null),
// severity, code and message.
std::string findings_json(const std::vector<Finding>& findings);

} // namespace tessen::check
