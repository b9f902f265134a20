#include "support/Lines.hpp"

#include <algorithm>
#include <sstream>

namespace tessen::test {

std::vector<std::string> split_lines(std::string_view text, std::string_view line_end,
                                     bool keep_ends) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(line_end, start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        std::size_t next = end + line_end.size();
        lines.emplace_back(text.substr(start, (keep_ends ? next : end) - start));
        start = next;
    }
    return lines;
}

std::vector<std::string> report_lines(const std::string& report) {
    return split_lines(report, "\r\n");
}

std::vector<std::string> text_lines(const std::string& text) {
    std::vector<std::string> lines = split_lines(text, "\n");
    for (std::string& line : lines)
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    return lines;
}

std::vector<std::string> lines_after(const std::string& report, const std::string& from,
                                     std::size_t count, std::size_t occurrence) {
    std::vector<std::string> lines = report_lines(report);
    auto at = lines.begin();
    while ((at = std::find(at, lines.end(), from)) != lines.end() && --occurrence > 0)
        ++at;
    if (at == lines.end())
        return {};
    return {at, at + static_cast<std::ptrdiff_t>(
                         std::min(count, static_cast<std::size_t>(lines.end() - at)))};
}

std::string shown(std::string_view text) {
    std::string out(1, '[');
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out += ']';
}

std::string first_difference(const std::string& expected, const std::string& actual) {
    const std::vector<std::string> e = split_lines(expected, "\n", true);
    const std::vector<std::string> a = split_lines(actual, "\n", true);
    std::size_t line = 0;
    while (line < e.size() && line < a.size() && e[line] == a[line])
        ++line;
    if (line == e.size() && line == a.size())
        return "no difference";
    const auto shown_line = [line](const std::vector<std::string>& lines) {
        return line < lines.size() ? shown(lines[line]) : std::string("<end>");
    };
    std::ostringstream s;
    s << "first difference at line " << line + 1 << "\n  expected: " << shown_line(e)
      << "\n  actual:   " << shown_line(a);
    return s.str();
}

} // namespace tessen::test
