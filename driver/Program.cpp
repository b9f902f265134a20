#include "driver/Program.hpp"

#include "driver/DeckProcess.hpp"
#include "driver/StartUp.hpp"
#include "records/Diagnostic.hpp"
#include "records/FileStreams.hpp"

#include <ostream>

namespace tessen {

namespace {

// Opens the deck, then the report, and runs the deck into it.
void process_named_deck(const FileNames& names) {
    const std::string input = names.input.trimmed();
    FileSource source(input);
    FileSink sink(names.report.trimmed(), source, input, old_report_closes_from_environment());
    process_deck(source, input, sink);
}

} // namespace

int run_program(std::ostream& out, std::ostream& err, ConsoleInput& in) {
    Console console(out, in);
    try {
        std::optional<FileNames> names = start_up(console);
        if (names)
            process_named_deck(*names);
        console.stop_message();
        return 0;
    } catch (const RunError& error) {
        console.end_open_line();
        err << format_diagnostic(error) << std::flush;
        return 1;
    }
}

} // namespace tessen
