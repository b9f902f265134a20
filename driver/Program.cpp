#include "driver/Program.hpp"

#include "driver/JobLoop.hpp"
#include "driver/StartUp.hpp"
#include "records/Diagnostic.hpp"
#include "records/FileStreams.hpp"
#include "records/InputDeck.hpp"
#include "records/ReportFile.hpp"

#include <ostream>

namespace tessen {

namespace {

// Opens the deck, then the report, and runs the job loop to the end record. The report
// is closed on every way out, so a diagnostic leaves every record written before it.
void process_deck(const FileNames& names) {
    const std::string input = names.input.trimmed();
    FileSource source(input);
    FileSink sink(names.report.trimmed(), source, input);
    InputDeck deck(source, input);
    ReportFile report(sink);
    try {
        run_job_loop(deck, report);
    } catch (const RunError&) {
        try {
            report.close();
        } catch (const RunError&) {
            // The first fault is the one to report.
        }
        throw;
    }
    report.close();
}

} // namespace

int run_program(std::ostream& out, std::ostream& err, ConsoleInput& in) {
    Console console(out, in);
    try {
        std::optional<FileNames> names = start_up(console);
        if (names)
            process_deck(*names);
        console.stop_message();
        return 0;
    } catch (const RunError& error) {
        console.end_open_line();
        err << format_diagnostic(error) << std::flush;
        return 1;
    }
}

} // namespace tessen
