#include "driver/DeckProcess.hpp"

#include "records/Diagnostic.hpp"
#include "records/InputDeck.hpp"

#include <cstdlib>
#include <exception>
#include <string_view>

namespace tessen {

namespace {

bool one_thread_from_environment() {
    const char* threads = std::getenv("TESSEN_THREADS");
    return threads != nullptr && std::string_view(threads) == "1";
}

} // namespace

ReportFile::Writes report_writes_from_environment() {
    return one_thread_from_environment() ? ReportFile::Writes::in_this_thread
                                         : ReportFile::Writes::in_background;
}

DescriptorCloser::Closes old_report_closes_from_environment() {
    return one_thread_from_environment() ? DescriptorCloser::Closes::in_this_thread
                                         : DescriptorCloser::Closes::in_background;
}

JobSummary process_deck(ByteSource& source, const std::string& deck_name, ByteSink& sink,
                        ReportFile::Writes writes) {
    InputDeck deck(source, deck_name);
    ReportFile report(sink, writes);
    JobSummary summary;
    try {
        summary = run_job_loop(deck, report);
    } catch (const RunError&) {
        // A fault in what was handed to the background before this one (a failed write,
        // a section's fault) came first: it is the one raised then. Either way the
        // records before the first fault are written out.
        std::exception_ptr first = std::current_exception();
        try {
            report.settle();
        } catch (const RunError&) {
            first = std::current_exception();
        }
        try {
            report.close();
        } catch (const RunError&) {
            // The first fault is the one to report.
        }
        std::rethrow_exception(first);
    }
    report.close();
    return summary;
}

} // namespace tessen
