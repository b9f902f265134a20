#include "support/TestSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessen {
namespace {

using Lines = std::vector<std::string>;
using test::atom_record;
using test::report_lines;
using test::run_deck;

const std::string kTrailer = " \r\n \r\n \r\n \r\n";

std::string counts(int n, int isotope_flag, const char* first = "  0") {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%4d%4d\n", first, n, isotope_flag);
    return buf;
}

// A water-like molecule: -9, counts, titles and three atom records.
std::string triatomic(int isotope_flag, const char* first = "  0") {
    return " -9\n" + counts(3, isotope_flag, first) + "FIRST\nSECOND\nTHIRD\n" +
           atom_record(1, 0, 0, 0, 0, 0, 0, 16) + atom_record(2, 1, 0, 0, 0.96, 0, 0, 1) +
           atom_record(3, 1, 2, 0, 0.96, 104.5, 0, 1);
}

const std::string kMasses = "        16.0         2.0         2.0\n";

std::size_t count_lines(const std::string& report, const std::string& line) {
    Lines lines = report_lines(report);
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

std::size_t blocks(const std::string& report) {
    return count_lines(report, "    MOMENT OF INERTIA TENSOR");
}

TEST(JobLoop, EndRecordFirstWritesNothing) {
    auto run = run_deck("999\n");
    EXPECT_FALSE(run.error);
    EXPECT_EQ(run.report, "");
}

TEST(JobLoop, BlankAndStrayControlRecordsAreSkipped) {
    auto run = run_deck("\n  5 anything after column three\n   \n 12\n-1 x\n999\n");
    EXPECT_FALSE(run.error) << run.message;
    EXPECT_EQ(run.report, "");
}

TEST(JobLoop, ControlFieldThatIsNoNumberEndsTheRun) {
    auto run = run_deck("abc\n999\n");
    EXPECT_EQ(run.error, ErrorKind::bad_field);
}

TEST(JobLoop, CountsRecordFirstFieldIsNeverLookedAt) {
    auto run = run_deck(triatomic(0, "999") + "999\n");
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(blocks(run.report), 1u);
    EXPECT_EQ(run.report.substr(run.report.size() - kTrailer.size()), kTrailer);
}

TEST(JobLoop, HeaderAndTrailer) {
    auto run = run_deck(triatomic(0) + "999\n");
    ASSERT_FALSE(run.error) << run.message;
    Lines lines = report_lines(run.report);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "  PROGRAM TESSEN");
    EXPECT_EQ(lines[1], "FIRST" + std::string(75, ' '));
    EXPECT_EQ(lines[2], "SECOND" + std::string(74, ' '));
    EXPECT_EQ(lines[3], " ");
    EXPECT_EQ(lines[4], "          INPUT VALENCE COORDINATES");
    EXPECT_EQ(count_lines(run.report, "THIRD" + std::string(55, ' ')), 1u + 4u);
}

TEST(JobLoop, TwoIsotopeSetsThenTheEndRecordInPlaceOfAHeader) {
    auto run = run_deck(triatomic(1) + " -6D2O\n" + kMasses + " -6HDO\n" +
                        "        16.0         1.0         2.0\n999\n");
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(blocks(run.report), 3u);
    EXPECT_EQ(count_lines(run.report, "    NEXT ISOTOPE"), 2u);
    EXPECT_EQ(count_lines(run.report, "D2O" + std::string(57, ' ')), 4u);
    EXPECT_EQ(count_lines(run.report, "HDO" + std::string(57, ' ')), 4u);
    EXPECT_EQ(run.report.substr(run.report.size() - kTrailer.size() - 2), "\r\n" + kTrailer);
    EXPECT_EQ(run.report.find(kTrailer), run.report.size() - kTrailer.size()); // one trailer
}

TEST(JobLoop, MoleculeCodeInAnIsotopeHeaderStartsTheNextMoleculeAtOnce) {
    const std::string second = counts(3, 0) + "NEXT\n\nT3\n" + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
                               atom_record(2, 1, 0, 0, 1, 0, 0, 1) +
                               atom_record(3, 1, 2, 0, 1, 90, 0, 1);
    auto run = run_deck(triatomic(1) + " -9 ignored title text\n" + second + "999\n");
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(count_lines(run.report, "  PROGRAM TESSEN"), 2u);
    EXPECT_EQ(blocks(run.report), 2u);
    EXPECT_NE(run.report.find(kTrailer + "  PROGRAM TESSEN\r\nNEXT"), std::string::npos);
}

TEST(JobLoop, OtherCodeInAnIsotopeHeaderIsSkippedButLeavesItsTitle) {
    auto run = run_deck(triatomic(1) + "  5KEPT TITLE\n -6\n" + kMasses + "999\n");
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(blocks(run.report), 2u);
    // The -6 control record reads an isotope header after its block (flag 1): 999 here.
    EXPECT_EQ(count_lines(run.report, "KEPT TITLE" + std::string(50, ' ')), 4u);
    // The molecule's trailer, then the set's two blank lines and heading.
    EXPECT_NE(run.report.find("0\r\n" + kTrailer + " \r\n \r\n    NEXT ISOTOPE"),
              std::string::npos);
}

TEST(JobLoop, IsotopeSetByControlRecordKeepsTheThirdTitle) {
    auto run = run_deck(triatomic(0) + " -6\n" + kMasses + "999\n");
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(blocks(run.report), 2u);
    EXPECT_EQ(count_lines(run.report, "THIRD" + std::string(55, ' ')), 1u + 4u + 4u);
    EXPECT_EQ(run.report.find(kTrailer) + kTrailer.size() + 6, run.report.find("    NEXT ISOTOPE"));
}

TEST(JobLoop, IsotopeSetBeforeAnyMoleculeHasNoMass) {
    auto run = run_deck(" -6\n999\n");
    EXPECT_EQ(run.error, ErrorKind::fp_divide_by_zero);
    EXPECT_EQ(run.report, " \r\n \r\n    NEXT ISOTOPE\r\n");
}

TEST(JobLoop, DeckEndingEarlyKeepsEverythingWrittenBefore) {
    const std::string deck = triatomic(0);
    const std::string cut = deck.substr(0, deck.rfind(atom_record(3, 1, 2, 0, 0.96, 104.5, 0, 1)));
    auto run = run_deck(cut);
    EXPECT_EQ(run.error, ErrorKind::end_of_file);
    Lines lines = report_lines(run.report);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[6], "  2  1  0  0     .960000     .000000     .000000    1.000000");
    EXPECT_EQ(run.report.substr(run.report.size() - 2), "\r\n");
    EXPECT_EQ(run_deck(triatomic(0)).error, ErrorKind::end_of_file); // no end record
    EXPECT_EQ(run_deck(triatomic(1)).error, ErrorKind::end_of_file); // no isotope header
}

TEST(JobLoop, MoreAtomsThanTheTableHoldsEndTheRunBeforeTheTitles) {
    auto run = run_deck(" -9\n" + counts(501, 0) + "T1\nT2\nT3\n");
    EXPECT_EQ(run.error, ErrorKind::atom_count);
    EXPECT_EQ(run.report, "");
    EXPECT_EQ(run_deck(" -9\n" + counts(500, 0)).error, ErrorKind::end_of_file);
}

TEST(JobLoop, AtomNumberOutsideTheTableEndsTheRunAfterItsEchoLine) {
    for (int bad : {501, 0, -3}) {
        auto run = run_deck(
            " -9\n" + counts(3, 0) + "T1\nT2\nT3\n" + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
            atom_record(2, 1, 0, 0, 1, 0, 0, 1) + atom_record(3, bad, 0, 0, 1, 0, 0, 1) + "999\n");
        EXPECT_EQ(run.error, ErrorKind::atom_number) << bad;
        EXPECT_EQ(run.message, "atom number " + std::to_string(bad) + " outside 1 to 500");
        Lines lines = report_lines(run.report);
        ASSERT_EQ(lines.size(), 8u);
        EXPECT_EQ(lines.back().substr(0, 6), bad == 501 ? "  3501"
                                             : bad == 0 ? "  3  0"
                                                        : "  3 -3");
    }
}

TEST(JobLoop, UnusedReferenceFieldsAreNotChecked) {
    auto run = run_deck(
        " -9\n" + counts(3, 0) + "T1\nT2\nT3\n" + atom_record(1, 999, 999, 999, 0, 0, 0, 1) +
        atom_record(2, 0, 999, 999, 1, 0, 0, 1) + atom_record(3, 1, 999, -5, 1, 0, 0, 1) + "999\n");
    EXPECT_FALSE(run.error) << run.message;
}

TEST(JobLoop, DegenerateFrameEndsTheRunAfterItsEchoLine) {
    // K and J are the same atom: u is the zero vector.
    auto run =
        run_deck(" -9\n" + counts(4, 0) + "T1\nT2\nT3\n" + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
                 atom_record(2, 1, 0, 0, 1, 0, 0, 1) + atom_record(3, 1, 2, 0, 1, 90, 0, 1) +
                 atom_record(4, 1, 1, 3, 1, 90, 0, 1) + "999\n");
    EXPECT_EQ(run.error, ErrorKind::fp_invalid);
    EXPECT_EQ(run.message, "floating-point error: invalid");
    Lines lines = report_lines(run.report);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines.back().substr(0, 12), "  4  1  1  3");
    // J, K and L on one axis: w is exactly zero.
    auto line =
        run_deck(" -9\n" + counts(4, 0) + "T1\nT2\nT3\n" + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
                 atom_record(2, 1, 0, 0, 1, 0, 0, 1) + atom_record(3, 1, 2, 0, 1, 180.0, 0, 1) +
                 atom_record(4, 1, 2, 3, 1, 90, 0, 1) + "999\n");
    EXPECT_FALSE(line.error); // atom 3 is not exactly on the axis: y is about 3.7e-08
    auto exact =
        run_deck(" -9\n" + counts(4, 0) + "T1\nT2\nT3\n" + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
                 atom_record(2, 1, 0, 0, 1, 0, 0, 1) + atom_record(3, 1, 2, 0, 1, 90, 0, 1) +
                 atom_record(4, 2, 1, 2, 1, 90, 0, 1) + "999\n");
    EXPECT_EQ(exact.error, ErrorKind::fp_invalid);
}

TEST(JobLoop, CoordinateBeyondSinglePrecisionEndsTheRun) {
    auto run =
        run_deck(" -9\n" + counts(3, 0) + "T1\nT2\nT3\n" + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
                 "  2  1  0  0      3.0E38\n" + "  3  2  0  0      3.0E38\n999\n");
    EXPECT_EQ(run.error, ErrorKind::fp_overflow);
    Lines lines = report_lines(run.report);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[6], "  2  1  0  0************     .000000     .000000     .000000");
}

// A helix of n atoms: each bonded to the one before, at 1.5, 110 degrees, dihedral 60.
std::string helix(int n, int isotope_flag) {
    std::string deck = " -9\n" + counts(n, isotope_flag) + "HELIX\n\nHELIX\n";
    deck += atom_record(1, 0, 0, 0, 0, 0, 0, 12) + atom_record(2, 1, 0, 0, 1.5, 0, 0, 12) +
            atom_record(3, 2, 1, 0, 1.5, 110, 0, 12);
    for (int i = 4; i <= n; ++i)
        deck += atom_record(i, i - 1, i - 2, i - 3, 1.5, 110, 60, i % 2 ? 12 : 1.007825);
    return deck;
}

TEST(JobLoop, MoleculesFromOneToTheLargestTheTableHolds) {
    std::string deck;
    for (int n = 1; n <= 40; ++n)
        deck += n < 3 ? helix(3, 0).replace(4, 12, counts(n, 0)) : helix(n, n % 2);
    deck += helix(500, 0) + "999\n";
    auto run = run_deck(deck);
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(count_lines(run.report, "  PROGRAM TESSEN"), 41u);
    EXPECT_EQ(blocks(run.report), 39u);
    EXPECT_EQ(count_lines(run.report, " ATOM500"), 1u);
    EXPECT_EQ(
        count_lines(run.report, "    500        .000000     .000000     .000000    12.000000"), 0u);
    // Every report line ends with CR LF and no line carries NaN or infinity (distances of
    // 100 and more in the long helix fill their fields with asterisks, as they should).
    EXPECT_EQ(run.report.find("nan"), std::string::npos);
    EXPECT_EQ(run.report.find("inf"), std::string::npos);
    EXPECT_EQ(std::count(run.report.begin(), run.report.end(), '\n'),
              std::count(run.report.begin(), run.report.end(), '\r'));
    // The largest molecule's distance blocks: 1 + 63 lines each.
    Lines lines = report_lines(run.report);
    auto atom500 = std::find(lines.begin(), lines.end(), " ATOM500");
    ASSERT_NE(atom500, lines.end());
    EXPECT_EQ(atom500[63].size(), 1u + 4u * 10u - 1u); // the last line holds four distances
    EXPECT_EQ(atom500[63].substr(atom500[63].size() - 7), ".000000");
}

} // namespace
} // namespace tessen
