// Faults inside a run that the table in README.md does not reach from the command line:
// a report whose writes fail part-way, and what the sanitized test run (build-asan) and
// fuzzing the job loop (fuzz/, `make fuzz`) found.

#include "driver/DeckProcess.hpp"
#include "records/ByteStreams.hpp"
#include "records/Diagnostic.hpp"
#include "records/InputDeck.hpp"
#include "records/LayoutWriter.hpp"
#include "support/DeckRun.hpp"
#include "support/Decks.hpp"
#include "support/Records.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessen {
namespace {

using test::run_deck;

// A report sink whose first write puts out half of its bytes and then fails, as a full
// disk does in the middle of a write; every later write succeeds.
class FailsOnceHalfway : public ByteSink {
  public:
    void write(const char* src, std::size_t n) override {
        if (!failed_) {
            failed_ = true;
            bytes_.append(src, n / 2);
            throw RunError(ErrorKind::write_failed, "No space left on device", FileOp::write,
                           "TEST.OUT");
        }
        bytes_.append(src, n);
    }
    const std::string& bytes() const { return bytes_; }

  private:
    bool failed_ = false;
    std::string bytes_;
};

// After a failed write the run ends, and the driver closes the report, which writes out
// what is still buffered. The bytes of the failed write must not be written again: the
// report is then a part of the whole report from its start, never a repetition.
TEST(ReportBuffer, FailedWriteIsNotRepeated) {
    std::string deck;
    for (int copy = 0; copy < 100; ++copy) // a report several times the report buffer
        deck += test::methane_molecule();
    deck += test::kEndRecord;
    const std::string whole = run_deck(deck).report;
    ASSERT_GT(whole.size(), 3u * 65536u);

    MemorySource source(deck);
    FailsOnceHalfway sink;
    try {
        process_deck(source, "TEST.DAT", sink, ReportPipeline::Threads::one);
        ADD_FAILURE() << "the failed write did not end the run";
    } catch (const RunError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::write_failed);
    }
    const std::string& written = sink.bytes();
    EXPECT_LT(written.size(), whole.size());
    EXPECT_TRUE(whole.compare(0, written.size(), written) == 0)
        << "the report is not the start of the whole report";
}

// A free-form line without items, the report's blank line, appends an empty text whose
// view has no data at all: nothing may then be copied from it. The sanitized run stopped
// here, on memcpy given a null pointer; in a plain build that copy of no bytes did no harm.
TEST(EmptyText, FreeFormLineWithoutItems) {
    test::CollectedRecords sink;
    write_line(sink);
    write_line(sink, {std::string_view(), "TEXT", std::string_view()});
    EXPECT_EQ(sink.lines, (std::vector<std::string>{" ", " TEXT"}));
}

} // namespace
} // namespace tessen
