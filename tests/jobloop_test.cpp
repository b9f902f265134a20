// The job loop in memory: control records, molecule headers, isotope sets and the trailer.
// What ends a run with a diagnostic is tested on the built program (fault_table_test.cpp).

#include "support/DeckRun.hpp"
#include "support/Decks.hpp"
#include "support/Lines.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessen::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kTrailer = " \r\n \r\n \r\n \r\n";
const std::string kSpecies = "H2(16)O" + std::string(53, ' ');

std::size_t count_lines(const std::string& report, const std::string& line) {
    Lines lines = report_lines(report);
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

std::size_t blocks(const std::string& report) {
    return count_lines(report, "    MOMENT OF INERTIA TENSOR");
}

TEST(JobLoop, BlankAndStrayControlRecordsAreSkipped) {
    auto run = run_deck("\n  5 anything after column three\n   \n 12\n-1 x\n999\n");
    EXPECT_FALSE(run.error) << run.message;
    EXPECT_EQ(run.report, "");
}

// The counts record's first field holds 999 here: it is never looked at.
TEST(JobLoop, HeaderAndTrailer) {
    std::string deck = water_molecule();
    deck.replace(4, 3, "999");
    auto run = run_deck(deck + kEndRecord);
    ASSERT_FALSE(run.error) << run.message;
    Lines lines = report_lines(run.report);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "  PROGRAM TESSEN");
    EXPECT_EQ(lines[1], "FIRST TITLE" + std::string(69, ' '));
    EXPECT_EQ(lines[2], "SECOND TITLE" + std::string(68, ' '));
    EXPECT_EQ(lines[3], " ");
    EXPECT_EQ(lines[4], "          INPUT VALENCE COORDINATES");
    EXPECT_EQ(count_lines(run.report, kSpecies), 1u + 4u);
    EXPECT_EQ(blocks(run.report), 1u);
    EXPECT_EQ(run.report.substr(run.report.size() - kTrailer.size()), kTrailer);
}

TEST(JobLoop, TwoIsotopeSetsThenTheEndRecordInPlaceOfAHeader) {
    auto run = run_deck(water_molecule(1) + isotope_header(-6, "D2O") + mass_record({16, 2, 2}) +
                        isotope_header(-6, "HDO") + mass_record({16, 1, 2}) + kEndRecord);
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(blocks(run.report), 3u);
    EXPECT_EQ(count_lines(run.report, "    NEXT ISOTOPE"), 2u);
    EXPECT_EQ(count_lines(run.report, "D2O" + std::string(57, ' ')), 4u);
    EXPECT_EQ(count_lines(run.report, "HDO" + std::string(57, ' ')), 4u);
    EXPECT_EQ(run.report.substr(run.report.size() - kTrailer.size() - 2), "\r\n" + kTrailer);
    EXPECT_EQ(run.report.find(kTrailer), run.report.size() - kTrailer.size()); // one trailer
}

TEST(JobLoop, MoleculeCodeInAnIsotopeHeaderStartsTheNextMoleculeAtOnce) {
    const std::string second =
        counts_record(3) + title_records("NEXT", "", "T3") + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
        atom_record(2, 1, 0, 0, 1, 0, 0, 1) + atom_record(3, 1, 2, 0, 1, 90, 0, 1);
    auto run = run_deck(water_molecule(1) + isotope_header(-9, " ignored title text") + second +
                        kEndRecord);
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(count_lines(run.report, "  PROGRAM TESSEN"), 2u);
    EXPECT_EQ(blocks(run.report), 2u);
    EXPECT_NE(run.report.find(kTrailer + "  PROGRAM TESSEN\r\nNEXT"), std::string::npos);
}

TEST(JobLoop, OtherCodeInAnIsotopeHeaderIsSkippedButLeavesItsTitle) {
    auto run = run_deck(water_molecule(1) + isotope_header(5, "KEPT TITLE") + control_record(-6) +
                        mass_record({16, 2, 2}) + kEndRecord);
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(blocks(run.report), 2u);
    // The -6 control record reads an isotope header after its block (flag 1): 999 here.
    EXPECT_EQ(count_lines(run.report, "KEPT TITLE" + std::string(50, ' ')), 4u);
    // The molecule's trailer, then the set's two blank lines and heading.
    EXPECT_NE(run.report.find("0\r\n" + kTrailer + " \r\n \r\n    NEXT ISOTOPE"),
              std::string::npos);
}

TEST(JobLoop, IsotopeSetByControlRecordKeepsTheThirdTitle) {
    auto run =
        run_deck(water_molecule() + control_record(-6) + mass_record({16, 2, 2}) + kEndRecord);
    ASSERT_FALSE(run.error) << run.message;
    EXPECT_EQ(blocks(run.report), 2u);
    EXPECT_EQ(count_lines(run.report, kSpecies), 1u + 4u + 4u);
    EXPECT_EQ(run.report.find(kTrailer) + kTrailer.size() + 6, run.report.find("    NEXT ISOTOPE"));
}

// A helix of n atoms: each bonded to the one before, at 1.5, 110 degrees, dihedral 60.
std::string helix(int n, int isotope_flag) {
    std::string deck =
        control_record(-9) + counts_record(n, isotope_flag) + title_records("HELIX", "", "HELIX");
    deck += atom_record(1, 0, 0, 0, 0, 0, 0, 12) + atom_record(2, 1, 0, 0, 1.5, 0, 0, 12) +
            atom_record(3, 2, 1, 0, 1.5, 110, 0, 12);
    for (int i = 4; i <= n; ++i)
        deck += atom_record(i, i - 1, i - 2, i - 3, 1.5, 110, 60, i % 2 ? 12 : 1.007825);
    return deck;
}

TEST(JobLoop, MoleculesFromOneToTheLargestTheTableHolds) {
    std::string deck;
    for (int n = 1; n <= 40; ++n)
        deck += n < 3 ? helix(3, 0).replace(4, 12, counts_record(n)) : helix(n, n % 2);
    deck += helix(500, 0) + kEndRecord;
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
} // namespace tessen::test
