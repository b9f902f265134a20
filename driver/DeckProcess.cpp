#include "driver/DeckProcess.hpp"

#include "records/Diagnostic.hpp"
#include "records/InputDeck.hpp"

#include <cstdlib>
#include <string_view>

namespace tessen {

namespace {

bool one_thread_from_environment() {
    const char* threads = std::getenv("TESSEN_THREADS");
    return threads != nullptr && std::string_view(threads) == "1";
}

} // namespace

ReportPipeline::Threads report_threads_from_environment() {
    return one_thread_from_environment() ? ReportPipeline::Threads::one
                                         : ReportPipeline::Threads::two;
}

DescriptorCloser::Closes old_report_closes_from_environment() {
    return one_thread_from_environment() ? DescriptorCloser::Closes::in_this_thread
                                         : DescriptorCloser::Closes::in_background;
}

JobSummary process_deck(ByteSource& source, const std::string& deck_name, ByteSink& sink,
                        ReportPipeline::Threads threads) {
    InputDeck deck(source, deck_name);
    ReportPipeline report(sink, threads);
    JobSummary summary;
    try {
        summary = run_job_loop(deck, report);
    } catch (const RunError&) {
        report.close_after_fault();
    }
    report.close();
    return summary;
}

} // namespace tessen
