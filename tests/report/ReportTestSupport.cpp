#include "ReportTestSupport.hpp"

#include "records/ByteStreams.hpp"
#include "support/Files.hpp"
#include "support/Lines.hpp"

#include <algorithm>

namespace tessen::report_test {

std::vector<std::string> golden_lines(const std::string& name) {
    return test::report_lines(test::read_file(test::test_dir() / "golden" / name));
}

report::Report read_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    MemorySource source(text);
    return report::read_report(source, "T.OUT");
}

std::vector<report::Problem::Kind> kinds(const std::vector<report::Problem>& problems) {
    std::vector<report::Problem::Kind> result;
    for (const report::Problem& problem : problems)
        result.push_back(problem.kind);
    return result;
}

std::size_t find_line(const std::vector<std::string>& lines, const std::string& text,
                      int occurrence) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == text && --occurrence == 0)
            return i;
    return lines.size();
}

} // namespace tessen::report_test
