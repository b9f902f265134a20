#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessen::test {

// The text split at each line end, with or without it; a last line without one is kept.
std::vector<std::string> split_lines(std::string_view text, std::string_view line_end,
                                     bool keep_ends = false);

// The lines of a report, without their CR LF.
std::vector<std::string> report_lines(const std::string& report);

// The lines of a text ended by LF or CR LF, without their line ends.
std::vector<std::string> text_lines(const std::string& text);

// The report lines from the occurrence-th line equal to `from` (inclusive) on, count
// lines at most; empty when there is no such line.
std::vector<std::string> lines_after(const std::string& report, const std::string& from,
                                     std::size_t count, std::size_t occurrence = 1);

// The text in brackets, with carriage returns, tabs and line feeds shown as \r, \t, \n.
std::string shown(std::string_view text);

// A readable account of the first line where two texts differ, for failure messages.
std::string first_difference(const std::string& expected, const std::string& actual);

} // namespace tessen::test
