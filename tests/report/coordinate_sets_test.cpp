// tessen-xyz's coordinate listings of a report, read through the report reader: which
// listings it takes, and its account of those it cannot use.

#include "ReportTestSupport.hpp"
#include "records/ByteStreams.hpp"
#include "support/Lines.hpp"
#include "xyz/CoordinateSets.hpp"

#include <gtest/gtest.h>

#include <array>

namespace tessen::xyz {
namespace {

using report_test::find_line;
using report_test::golden_lines;

ReportContents sets_of(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    MemorySource source(text);
    return read_coordinate_sets(source, "T.OUT");
}

std::vector<std::string> problem_lines(const ReportContents& contents) {
    std::vector<std::string> lines;
    for (const ListingProblem& problem : contents.problems)
        lines.push_back(std::to_string(problem.line) + ": " + problem.text);
    return lines;
}

std::vector<std::array<int, 2>> places(const ReportContents& contents) {
    std::vector<std::array<int, 2>> result;
    for (const CoordinateSet& set : contents.sets)
        result.push_back({set.molecule, set.block});
    return result;
}

TEST(CoordinateSets, TakesEveryListingWithItsTitlesInReportOrder) {
    ReportContents contents = sets_of(golden_lines("B005.OUT"));
    EXPECT_TRUE(contents.problems.empty());
    // Molecule 2 has two atoms; molecule 3 ends the run before its first block.
    std::vector<std::array<int, 2>> expected = {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {3, 0}};
    EXPECT_EQ(places(contents), expected);
    contents = sets_of(golden_lines("ISOTOPE.OUT"));
    ASSERT_EQ(contents.sets.size(), 8u);
    EXPECT_EQ(contents.sets[2].title, "WATER H2O");
    EXPECT_EQ(contents.sets[2].subtitle, "HD(16)O");
    EXPECT_EQ(contents.sets[2].atoms[2].mass, 2.014102f);
}

// A listing that cannot be used costs that listing only; the blocks keep their numbers.
// Problems that concern no listing (an incomplete block) are not tessen-xyz's.
TEST(CoordinateSets, ListingsThatCannotBeUsedAreReportedInReportOrder) {
    std::vector<std::string> lines = golden_lines("ISOTOPE.OUT");
    const std::string header = " ATOM NO.       X           Y          Z          MASS";
    std::size_t block2 = find_line(lines, header, 3);
    lines[block2 + 2].replace(22, 12, std::string(12, '*'));      // y of atom 2
    lines[find_line(lines, header, 4) + 1] = std::string(1, ' '); // block 3: no rows
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(find_line(lines, header, 5)));
    ReportContents contents = sets_of(lines);
    std::vector<std::array<int, 2>> expected = {{1, 0}, {1, 1}, {2, 1}, {2, 2}, {2, 3}};
    EXPECT_EQ(places(contents), expected);
    std::vector<std::string> problems = {
        "86: molecule 1, principal axes of block 2: atom 2 has a coordinate too wide for "
        "its field; no file written",
        "118: molecule 1, principal axes of block 3: listing without atoms; no file written",
        "154: molecule 2, input axis frame: column header missing; listing skipped"};
    EXPECT_EQ(problem_lines(contents), problems);

    lines = golden_lines("ISOTOPE.OUT");
    lines.erase(lines.begin(), lines.begin() + 5); // the header of the water
    contents = sets_of(lines);
    ASSERT_EQ(contents.problems.size(), 4u);
    EXPECT_EQ(problem_lines(contents)[0],
              "8: coordinate listing before any molecule header; skipped");
}

// Water's report lists Ia second: its a axis is the report's y. Swapping two columns
// alone would mirror the molecule, so c is turned round too; the input frame is as printed.
TEST(CoordinateSets, PrincipalCoordinatesComeInABCOrderWithoutMirroring) {
    ReportContents contents = sets_of(golden_lines("ISOTOPE.OUT"));
    ASSERT_GE(contents.sets.size(), 2u);
    const ListedAtom& hydrogen = contents.sets[1].atoms[1]; // printed .520313 -.756950 .000000
    EXPECT_EQ(hydrogen.x, -0.756950f);
    EXPECT_EQ(hydrogen.y, 0.520313f);
    EXPECT_EQ(hydrogen.z, 0.0f);
    EXPECT_EQ(contents.sets[0].atoms[1].x, 0.957200f);

    std::vector<std::string> lines = golden_lines("ISOTOPE.OUT");
    const std::size_t moments = find_line(lines, "   PRINCIPAL MOMENT OF INERTIA", 1) + 1;
    lines[moments].replace(3, 12, std::string(12, '*'));
    EXPECT_EQ(sets_of(lines).sets[1].atoms[1].x, 0.520313f); // the report's order kept
}

} // namespace
} // namespace tessen::xyz
