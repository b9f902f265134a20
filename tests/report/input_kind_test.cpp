// Telling a report from a deck by content, and the digits a report's numbers carry.

#include "records/ByteStreams.hpp"
#include "report/InputKind.hpp"
#include "report/PrintedDigits.hpp"
#include "report/ReportVocabulary.hpp"

#include <gtest/gtest.h>

namespace tessen::report {
namespace {

InputHead head_of(const std::string& text) {
    MemorySource source(text);
    return read_input_head(source);
}

TEST(InputKind, ReportsDecksAndNeither) {
    EXPECT_EQ(head_of("  PROGRAM TESSEN\r\nWATER\r\n").kind, InputKind::report);
    EXPECT_EQ(head_of(" -9\n      3   1\n").kind, InputKind::deck);
    EXPECT_EQ(head_of("999").kind, InputKind::deck); // no line feed at the end
    // The job loop skips blank records and codes it has no job for.
    const std::string skipped = std::string(3000, '\n') + " 12 a note\n -9\n";
    const InputHead late = head_of(skipped);
    EXPECT_EQ(late.kind, InputKind::deck);
    EXPECT_EQ(late.line, 3002u);
    EXPECT_EQ(late.bytes, skipped); // all of it read, to be read again
    // A first record that is no control record, a report's later line, an empty file.
    EXPECT_EQ(head_of("not a report\r\n").kind, InputKind::neither);
    EXPECT_EQ(head_of("not a report\r\n").line, 1u);
    EXPECT_EQ(head_of("   PRINCIPAL MOMENT OF INERTIA\r\n").kind, InputKind::neither);
    EXPECT_EQ(head_of("").line, 0u);
    EXPECT_EQ(head_of(std::string(kHeadLimit + 10, '\n')).kind, InputKind::neither);
}

TEST(PrintedDigits, HalfAUnitOfTheLastDigitShown) {
    EXPECT_DOUBLE_EQ(half_unit(1.154915, kMomentsRow), 5e-7);
    EXPECT_DOUBLE_EQ(half_unit(0.614456, kMomentsRow), 5e-7);
    EXPECT_DOUBLE_EQ(half_unit(-0.000002, kMomentsRow), 5e-7);
    EXPECT_DOUBLE_EQ(half_unit(15.99492, kListingRow), 5e-6); // seven significant digits
    EXPECT_DOUBLE_EQ(half_unit(10.0, kListingRow), 5e-6);
    EXPECT_DOUBLE_EQ(half_unit(1234567.0, kTotalMass), 0.5);
}

} // namespace
} // namespace tessen::report
