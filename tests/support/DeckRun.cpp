#include "support/DeckRun.hpp"

#include "driver/JobLoop.hpp"
#include "records/ByteStreams.hpp"
#include "records/InputDeck.hpp"
#include "records/ReportFile.hpp"

namespace tessen::test {

DeckRun run_deck(const std::string& deck) {
    MemorySource source(deck);
    MemorySink sink;
    InputDeck input(source, "TEST.DAT");
    ReportFile report(sink);
    DeckRun result;
    try {
        run_job_loop(input, report);
    } catch (const RunError& e) {
        result.error = e.kind();
        result.message = e.what();
    }
    report.close();
    result.report = sink.bytes();
    return result;
}

} // namespace tessen::test
