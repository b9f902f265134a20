#include "xyz/ReportLines.hpp"

#include "records/Diagnostic.hpp"
#include "records/FileStreams.hpp"
#include "records/InputDeck.hpp"

#include <optional>

namespace tessen::xyz {

namespace {

// The next record, or nothing at the end of the file (which the deck reports as the
// end-of-file diagnostic).
std::optional<std::string> next_line(InputDeck& deck) {
    try {
        return std::string(deck.next_record());
    } catch (const RunError& error) {
        if (error.kind() == ErrorKind::end_of_file)
            return std::nullopt;
        throw;
    }
}

} // namespace

std::vector<std::string> read_report_lines(const std::string& path) {
    FileSource source(path);
    InputDeck deck(source, path);
    std::vector<std::string> lines;
    while (std::optional<std::string> line = next_line(deck))
        lines.push_back(std::move(*line));
    return lines;
}

} // namespace tessen::xyz
