#include "ReportDistances.hpp"

#include <limits>

namespace tessen::test {

namespace {

bool is_atom_line(const std::string& line) {
    return line.size() == 8 && line.rfind(" ATOM", 0) == 0;
}

// A line of distances: not an "ATOM" line, and not the blank line after the section.
bool is_value_line(const std::string& line) {
    return line.size() > 1 && !is_atom_line(line);
}

// The nine-column fields of a line of distances, one blank before each.
void append_values(const std::string& line, std::vector<double>& row) {
    for (std::size_t at = 1; at < line.size(); at += 10) {
        std::string field = line.substr(at, 9);
        row.push_back(field.find('*') == std::string::npos
                          ? std::stod(field)
                          : std::numeric_limits<double>::quiet_NaN());
    }
}

// The blocks from index i on; returns the index after the last one.
std::size_t read_blocks(const std::vector<std::string>& lines, std::size_t i,
                        DistanceMatrix& rows) {
    while (i < lines.size() && is_atom_line(lines[i])) {
        rows.emplace_back();
        for (++i; i < lines.size() && is_value_line(lines[i]); ++i)
            append_values(lines[i], rows.back());
    }
    return i;
}

} // namespace

std::map<int, DistanceMatrix> distance_checks(const std::vector<std::string>& report_lines) {
    std::map<int, DistanceMatrix> checks;
    int molecule = 0;
    for (std::size_t i = 0; i < report_lines.size(); ++i) {
        if (report_lines[i] == "  PROGRAM TESSEN")
            ++molecule;
        else if (report_lines[i] == "  INTERATOMIC DISTANCES CHECK")
            i = read_blocks(report_lines, i + 1, checks[molecule]) - 1;
    }
    return checks;
}

} // namespace tessen::test
