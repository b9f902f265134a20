// libFuzzer entry: one input is one whole input deck, run through the job loop twice:
// record by record into memory, and into an in-memory report the way tessen writes it
// (with a writer thread of its own unless TESSEN_THREADS=1). A diagnostic (RunError) is
// the normal end of a bad deck; anything else that escapes, a sanitizer report, a hang,
// a report that differs from the records, or two runs that end differently is a finding.

#include "FuzzSupport.hpp"
#include "driver/DeckProcess.hpp"
#include "driver/JobLoop.hpp"
#include "records/ByteStreams.hpp"
#include "records/Diagnostic.hpp"
#include "records/InputDeck.hpp"
#include "records/RecordSink.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace {

using namespace tessen;
using fuzz::require;

// The bytes that the report must hold: each record as laid out and its CR LF.
class ExpectedReport : public RecordSink {
  public:
    void put_record(std::string_view record, bool /*hold*/) override {
        bytes.append(record);
        bytes += "\r\n";
    }
    std::string bytes;
};

// The diagnostic that ended the run, empty when it ran to its end record.
template <typename Run> std::string diagnostic_of(Run run) {
    try {
        run();
    } catch (const RunError& error) {
        const std::string text = format_diagnostic(error);
        require(text.rfind("\nrun-time error T", 0) == 0, "diagnostic without its code line");
        return text;
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string deck(reinterpret_cast<const char*>(data), size);
    ExpectedReport expected;
    const std::string expected_end = diagnostic_of([&] {
        MemorySource source(deck);
        InputDeck input(source, "FUZZ.DAT");
        std::make_unique<JobLoop>(input, expected)->run();
    });
    MemorySink sink;
    const std::string end = diagnostic_of([&] {
        MemorySource source(deck);
        process_deck(source, "FUZZ.DAT", sink);
    });
    require(end == expected_end, "the report's run ended otherwise than the records' run");
    require(sink.bytes() == expected.bytes, "report lost, gained or reordered bytes");
    return 0;
}
