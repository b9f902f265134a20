#include "support/DeckRun.hpp"

#include "driver/DeckProcess.hpp"
#include "records/ByteStreams.hpp"

namespace tessen::test {

DeckRun run_deck(const std::string& deck, ReportPipeline::Threads threads) {
    MemorySource source(deck);
    MemorySink sink;
    DeckRun result;
    try {
        process_deck(source, "TEST.DAT", sink, threads);
    } catch (const RunError& e) {
        result.error = e.kind();
        result.message = e.what();
    }
    result.report = sink.bytes();
    return result;
}

} // namespace tessen::test
