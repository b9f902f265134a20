// libFuzzer entry: one input is one whole input deck, run through the job loop into an
// in-memory report. A diagnostic (RunError) is the normal end of a bad deck; anything
// else that escapes, a sanitizer report, a hang or a report that lost or cut a record
// is a finding.

#include "FuzzSupport.hpp"
#include "driver/JobLoop.hpp"
#include "records/ByteStreams.hpp"
#include "records/Diagnostic.hpp"
#include "records/InputDeck.hpp"
#include "records/ReportFile.hpp"

#include <cstdint>
#include <string>

namespace {

using namespace tessen;
using fuzz::require;

// Passes every record on to the report and counts the bytes that the report file must
// then hold: each record as laid out and its CR LF.
class CountingSink : public RecordSink {
  public:
    explicit CountingSink(RecordSink& inner) : inner_(inner) {}
    void put_record(std::string_view record, bool hold) override {
        inner_.put_record(record, hold);
        expected_bytes_ += record.size() + 2;
    }
    std::size_t expected_bytes() const { return expected_bytes_; }

  private:
    RecordSink& inner_;
    std::size_t expected_bytes_ = 0;
};

bool ends_with_crlf(const std::string& bytes) {
    return bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemorySource source(std::string(reinterpret_cast<const char*>(data), size));
    MemorySink sink;
    InputDeck deck(source, "FUZZ.DAT");
    ReportFile report(sink);
    CountingSink counted(report);
    try {
        run_job_loop(deck, counted);
    } catch (const RunError& error) {
        const std::string text = format_diagnostic(error);
        require(text.rfind("\nrun-time error T", 0) == 0, "diagnostic without its code line");
    }
    report.close();
    const std::string& bytes = sink.bytes();
    require(bytes.size() == counted.expected_bytes(), "report lost or gained bytes");
    require(bytes.empty() || ends_with_crlf(bytes), "report ends inside a record");
    return 0;
}
