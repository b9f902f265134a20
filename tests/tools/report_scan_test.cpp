// Finding the coordinate listings of real reports, written by the built tessen.

#include "ToolsSupport.hpp"
#include "xyz/ReportLines.hpp"
#include "xyz/ReportScan.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace tessen::xyz {
namespace {

using namespace tessen::tools_test;

// The lines of the report that tessen writes for a deck.
std::vector<std::string> report_for(const fs::path& deck) {
    Scratch dir;
    fs::copy_file(deck, dir / deck.filename().string());
    ProgramRun run = run_tessen(dir.path(), deck.filename().string());
    EXPECT_EQ(run.status, 0) << run.err;
    return read_report_lines((dir / (deck.stem().string() + ".OUT")).string());
}

std::vector<std::array<int, 2>> places(const ReportContents& contents) {
    std::vector<std::array<int, 2>> result;
    for (const CoordinateSet& set : contents.sets)
        result.push_back({set.molecule, set.block});
    return result;
}

// The mass-weighted sum of the coordinates of one axis: zero in a principal-axis frame.
double first_moment(const CoordinateSet& set, float ListedAtom::*axis) {
    double sum = 0;
    for (const ListedAtom& atom : set.atoms)
        sum += static_cast<double>(*atom.mass) * static_cast<double>(atom.*axis);
    return sum;
}

// Three molecules: the first with an isotope set brought by an isotope header record and
// ended by a header record of code -9, a second of two atoms (no listing), a third whose
// isotope set comes with a -6 control record.
TEST(ReportScan, FindsEveryListingOfEveryMoleculeInReportOrder) {
    ReportContents contents = scan_report(report_for(deck_dir() / "MIXED.DAT"));
    EXPECT_TRUE(contents.problems.empty());
    std::vector<std::array<int, 2>> expected = {{1, 0}, {1, 1}, {1, 2}, {3, 0}, {3, 1}, {3, 2}};
    EXPECT_EQ(places(contents), expected);
    for (const CoordinateSet& set : contents.sets)
        EXPECT_EQ(set.atoms.size(), 5u) << set.molecule << "/" << set.block;
}

TEST(ReportScan, TakesTheTitlesOfEachListing) {
    ReportContents contents = scan_report(report_for(deck_dir() / "MIXED.DAT"));
    ASSERT_EQ(contents.sets.size(), 6u);
    EXPECT_EQ(contents.sets[0].title, "BROMOCHLOROMETHANE CH2BrCl");
    EXPECT_EQ(contents.sets[0].subtitle, "CH2(79)Br(35)Cl");
    EXPECT_EQ(contents.sets[1].subtitle, "CH2(79)Br(35)Cl");
    EXPECT_EQ(contents.sets[2].subtitle, "CH2(81)Br(37)Cl"); // from the isotope header
    EXPECT_EQ(contents.sets[3].title, "FORMALDEHYDE H2CO WITH A DUMMY ATOM");
    EXPECT_EQ(contents.sets[5].subtitle, "H2CO+X"); // a -6 control record keeps the title
}

TEST(ReportScan, TakesTheCoordinatesAndMassesOfEachListing) {
    ReportContents contents = scan_report(report_for(deck_dir() / "MIXED.DAT"));
    ASSERT_EQ(contents.sets.size(), 6u);
    // Input frame: atom 2 on the x axis at the C-Br bond length; the dummy atom 5 one unit
    // above the carbon atom at the origin.
    const ListedAtom& bromine = contents.sets[0].atoms[1];
    EXPECT_EQ(bromine.x, 1.93f);
    EXPECT_EQ(bromine.y, 0.0f);
    EXPECT_EQ(bromine.mass, 78.91833f); // the deck's 78.918338 in single precision
    const ListedAtom& dummy = contents.sets[3].atoms[4];
    EXPECT_EQ(dummy.x, 0.0f);
    EXPECT_EQ(dummy.z, 1.0f);
    EXPECT_EQ(dummy.mass, 0.0f);
    // Each block carries the masses in force for it.
    EXPECT_EQ(contents.sets[2].atoms[1].mass, 80.91629f);
    EXPECT_EQ(contents.sets[5].atoms[0].mass, 13.00336f);
    // Principal coordinates have their centre of mass at the origin.
    for (std::size_t k : {1u, 2u, 4u, 5u})
        for (float ListedAtom::*axis : {&ListedAtom::x, &ListedAtom::y, &ListedAtom::z})
            EXPECT_NEAR(first_moment(contents.sets[k], axis), 0.0, 1e-4) << "set " << k;
}

// A coordinate too wide for its field costs its own listing only; the blocks keep their
// numbers.
TEST(ReportScan, ReportsAListingWithAnUnreadableCoordinateAndKeepsTheOthers) {
    std::vector<std::string> lines = report_for(source_dir() / "examples" / "WATER.DAT");
    std::size_t damaged = 0;
    int principal_listings = 0;
    for (std::size_t i = 0; i + 4 < lines.size() && damaged == 0; ++i)
        if (lines[i] == "    PRINCIPAL CARTESIAN COORDINATES" && ++principal_listings == 2)
            damaged = i + 4; // atom 2 of block 2
    ASSERT_NE(damaged, 0u);
    lines[damaged].replace(22, 12, std::string(12, '*'));

    ReportContents contents = scan_report(lines);
    std::vector<std::array<int, 2>> expected = {{1, 0}, {1, 1}, {1, 3}};
    EXPECT_EQ(places(contents), expected);
    ASSERT_EQ(contents.problems.size(), 1u);
    EXPECT_EQ(contents.problems[0], "line " + std::to_string(damaged + 1) +
                                        ": molecule 1, principal axes of block 2: atom 2 has a "
                                        "coordinate too wide for its field; no file written");
}

// A run that ends with a diagnostic leaves the report as far as it got.
TEST(ReportScan, TakesTheListingsOfAReportCutShortByADiagnostic) {
    Scratch dir;
    std::string deck = read_file(source_dir() / "examples" / "WATER.DAT");
    deck.erase(deck.rfind("999"));
    deck += " -9\n      4   0\nDEGENERATE\n\nX4\n"
            "  1  0  0  0\n  2  1  0  0    1.000000\n  3  1  2  0    1.000000   90.000000\n"
            "  4  1  1  1    1.000000   90.000000   90.000000    1.000000\n999\n";
    write_file(dir / "CUT.DAT", deck);
    ProgramRun run = run_tessen(dir.path(), "CUT.DAT");
    ASSERT_EQ(run.status, 1) << "the second molecule has no frame: the run must fail";
    ReportContents contents = scan_report(read_report_lines((dir / "CUT.OUT").string()));
    std::vector<std::array<int, 2>> expected = {{1, 0}, {1, 1}, {1, 2}, {1, 3}};
    EXPECT_EQ(places(contents), expected);
    EXPECT_TRUE(contents.problems.empty());
}

TEST(ReportScan, ListingsBeforeAnyMoleculeHeaderAreReported) {
    std::vector<std::string> lines = report_for(source_dir() / "examples" / "WATER.DAT");
    lines.erase(lines.begin(), lines.begin() + 5); // the molecule header
    ReportContents contents = scan_report(lines);
    EXPECT_TRUE(contents.sets.empty());
    ASSERT_EQ(contents.problems.size(), 4u);
    EXPECT_NE(contents.problems[0].find("before any molecule header"), std::string::npos);
}

TEST(ReportScan, ADeckOrAnEmptyFileHasNoListing) {
    std::vector<std::string> deck = lines_of(read_file(source_dir() / "examples" / "WATER.DAT"));
    EXPECT_TRUE(scan_report(deck).sets.empty());
    EXPECT_TRUE(scan_report(deck).problems.empty());
    EXPECT_TRUE(scan_report({}).sets.empty());
}

} // namespace
} // namespace tessen::xyz
