#pragma once

#include "report/ReportReader.hpp"

#include <string>
#include <vector>

namespace tessen::report_test {

// The lines of a reference report of tests/golden (by name, as ISOTOPE.OUT), without CR LF.
std::vector<std::string> golden_lines(const std::string& name);

// The report made of the lines (each ended by CR LF), read whole.
report::Report read_lines(const std::vector<std::string>& lines);

// The kinds of the problems, in order.
std::vector<report::Problem::Kind> kinds(const std::vector<report::Problem>& problems);

// The index of the occurrence-th line equal to text (from 1), or lines.size().
std::size_t find_line(const std::vector<std::string>& lines, const std::string& text,
                      int occurrence = 1);

} // namespace tessen::report_test
