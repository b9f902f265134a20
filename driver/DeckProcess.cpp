#include "driver/DeckProcess.hpp"

#include "records/Diagnostic.hpp"
#include "records/InputDeck.hpp"
#include "records/ReportFile.hpp"

namespace tessen {

JobSummary process_deck(ByteSource& source, const std::string& deck_name, ByteSink& sink) {
    InputDeck deck(source, deck_name);
    ReportFile report(sink);
    JobSummary summary;
    try {
        summary = run_job_loop(deck, report);
    } catch (const RunError&) {
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
