#pragma once

#include <string>
#include <vector>

namespace tessen::xyz {

// Every line of a report file, without its CR LF, read through the record layer. Raises
// the record layer's diagnostic (RunError) when the file cannot be opened or read.
std::vector<std::string> read_report_lines(const std::string& path);

} // namespace tessen::xyz
