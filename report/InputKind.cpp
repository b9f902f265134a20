#include "report/InputKind.hpp"

#include "records/FieldWalker.hpp"
#include "report/ReportVocabulary.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessen::report {

namespace {

constexpr std::size_t kChunk = 4096;

// The line less its carriage return and trailing blanks.
std::string_view trimmed(std::string_view line) {
    const std::size_t end = line.find_last_not_of(" \r");
    return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

// What one line tells as the first that tessen's job loop would act on: nothing for a
// record the loop skips (a blank line, a control code it has no job for).
std::optional<InputKind> kind_told_by(std::string_view line) {
    if (is_report_line(trimmed(line), kProgramLine))
        return InputKind::report;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    FieldWalker walker(kControlRecord, line);
    std::int32_t code = 0;
    if (walker.get_int(code) != FieldStatus::ok)
        return InputKind::neither; // tessen stops at such a control record
    if (code == kMoleculeCode || code == kIsotopeCode || code == kEndCode)
        return InputKind::deck;
    return std::nullopt;
}

} // namespace

InputHead read_input_head(ByteSource& source) {
    InputHead head;
    std::size_t line_start = 0;
    char buffer[kChunk];
    bool at_end = false;
    while (line_start < head.bytes.size() || !at_end) {
        std::size_t line_end = head.bytes.find('\n', line_start);
        if (line_end == std::string::npos && !at_end) {
            if (head.bytes.size() >= kHeadLimit)
                break;
            const std::size_t n = source.read(buffer, sizeof buffer);
            head.bytes.append(buffer, n);
            at_end = n == 0;
            continue;
        }
        if (line_end == std::string::npos)
            line_end = head.bytes.size(); // the last line, without a line feed
        ++head.line;
        const std::string_view line(head.bytes.data() + line_start, line_end - line_start);
        if (const std::optional<InputKind> kind = kind_told_by(line)) {
            head.kind = *kind;
            return head;
        }
        line_start = line_end + 1;
    }
    head.line = 0;
    return head;
}

} // namespace tessen::report
