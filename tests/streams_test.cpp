#include "records/ByteStreams.hpp"
#include "records/InputDeck.hpp"
#include "records/ReportFile.hpp"
#include "support/DeckRun.hpp"
#include "support/Files.hpp"

#include <gtest/gtest.h>

#include <string>

namespace tessen {
namespace {

using test::read_file;

std::vector<std::string> all_records(const std::string& bytes) {
    MemorySource source(bytes);
    InputDeck deck(source, "T.DAT");
    std::vector<std::string> records;
    try {
        while (true)
            records.emplace_back(deck.next_record());
    } catch (const RunError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::end_of_file);
    }
    return records;
}

using Records = std::vector<std::string>;

TEST(InputDeck, RecordsEndAtLineFeedsAndACarriageReturnEndsTheirReadableText) {
    EXPECT_EQ(all_records("a\r\nb\n\nc\rd\n"), Records({"a", "b", "", "c"}));
    EXPECT_EQ(all_records("a\r\r\n\r\nlast\r"), Records({"a", "", "last"}));
}

// Line ends of CR CR LF, or a CR in the middle of a record, put no CR into the report: an
// isotope header "-6" CR "HDO" reads code -6 and a blank title.
TEST(InputDeck, CarriageReturnsInsideRecordsNeverReachTheReport) {
    const std::string deck = read_file(test::test_dir() / "../examples/WATER.DAT");
    std::string doubled;
    for (char c : deck)
        doubled += c == '\n' ? std::string("\r\r\n") : std::string(1, c);
    EXPECT_EQ(test::run_deck(doubled).report, test::run_deck(deck).report);

    std::string stray = deck;
    stray.replace(stray.find(" -6D2(16)O"), 10, " -6\rD2(16)O");
    const test::DeckRun run = test::run_deck(stray);
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(run.report.find("\r\r"), std::string::npos);
    EXPECT_NE(run.report.find("\r\n" + std::string(60, ' ') + "\r\n  TOTAL MASS="),
              std::string::npos);
}

TEST(InputDeck, LastLineWithoutLineFeedIsARecord) {
    EXPECT_EQ(all_records("a\nlast"), Records({"a", "last"}));
    EXPECT_EQ(all_records("a\n"), Records({"a"}));
    EXPECT_EQ(all_records(""), Records({}));
}

TEST(InputDeck, RecordsSpanningTheReadBufferAreWhole) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "record " + std::to_string(i) + "\r\n";
    Records got = all_records(bytes);
    ASSERT_EQ(got.size(), 20000u);
    EXPECT_EQ(got[12345], "record 12345");
}

TEST(ReportFile, EveryRecordEndsWithCrLfAndReachesTheSinkByClose) {
    MemorySink sink;
    ReportFile report(sink);
    report.put_record("  PROGRAM TESSEN", false);
    report.put_record(" ", false);
    report.put_record("", false);
    EXPECT_EQ(sink.bytes(), "");
    report.close();
    EXPECT_EQ(sink.bytes(), "  PROGRAM TESSEN\r\n \r\n\r\n");
}

// Records longer than the report's buffer, between short ones and right after a nearly
// full buffer, reach the sink whole and in order; so does an empty record given as a
// view without data.
TEST(ReportFile, RecordsLongerThanTheBufferKeepTheirPlace) {
    MemorySink sink;
    ReportFile report(sink);
    std::string expected;
    auto put = [&](const std::string& line) {
        report.put_record(line, false);
        expected += line + "\r\n";
    };
    put("first");
    put(std::string(100000, 'L'));
    put(std::string(65534, 'f')); // with CR LF exactly the buffer
    put(std::string(65535, 'g')); // one byte too long for it
    put("after");
    report.put_record(std::string_view(), false);
    expected += "\r\n";
    put(std::string(60000, 'n'));
    put(std::string(6000, 'm')); // does not fit behind the one before
    report.close();
    EXPECT_TRUE(sink.bytes() == expected) << "the report differs from the records given";
}

} // namespace
} // namespace tessen
