#include "driver/DeckProcess.hpp"

#include "records/Diagnostic.hpp"
#include "records/InputDeck.hpp"

#include <cstdlib>
#include <string_view>

namespace tessen {

ReportFile::Writes report_writes_from_environment() {
    const char* threads = std::getenv("TESSEN_THREADS");
    if (threads != nullptr && std::string_view(threads) == "1")
        return ReportFile::Writes::in_this_thread;
    return ReportFile::Writes::in_background;
}

JobSummary process_deck(ByteSource& source, const std::string& deck_name, ByteSink& sink,
                        ReportFile::Writes writes) {
    InputDeck deck(source, deck_name);
    ReportFile report(sink, writes);
    JobSummary summary;
    try {
        summary = run_job_loop(deck, report);
    } catch (const RunError&) {
        // A write handed over before this fault and failed since came first: it is the
        // one raised then.
        report.settle();
        try {
            report.close();
        } catch (const RunError&) {
            // The first fault is the one to report.
        }
        throw;
    }
    report.close();
    return summary;
}

} // namespace tessen
