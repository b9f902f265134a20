// Reading reports back: the reference reports of tests/golden, and damaged copies of them.

#include "ReportTestSupport.hpp"
#include "records/ByteStreams.hpp"
#include "records/IntOutput.hpp"
#include "records/RealOutput.hpp"
#include "support/Files.hpp"
#include "support/Lines.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessen::report_test {
namespace {

using report::Problem;
using report::Report;
using report::Shown;
using Kind = report::Problem::Kind;

// A value in its field as the report writes it: asterisks where it is missing.
std::string field(const Shown& value, int width) {
    return value ? edit_real(*value, width, 6) : std::string(static_cast<std::size_t>(width), '*');
}

std::string row_text(const report::ShownTriple& row) {
    return field(row[0], 12) + field(row[1], 12) + field(row[2], 12);
}

// Every line the reader took a number from shows exactly that number again when the
// number is written back by the report's layout.
void expect_listing_as_shown(const report::Listing& listing,
                             const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < listing.rows.size(); ++i) {
        const report::ListingRow& row = listing.rows[i];
        EXPECT_EQ(lines.at(row.line - 1), "    " + edit_int(static_cast<std::int32_t>(i + 1), 3) +
                                              "   " + field(row.x, 12) + field(row.y, 12) +
                                              field(row.z, 12) + field(row.mass, 13));
    }
}

void expect_block_as_shown(const report::MassBlock& block, const std::vector<std::string>& lines) {
    const std::size_t at = block.line - 1; // the lines of a block stand in a fixed order
    EXPECT_EQ(lines.at(at), "  TOTAL MASS=" + field(block.total_mass, 12));
    const report::ShownTriple& centre = block.centre_of_mass;
    EXPECT_EQ(lines.at(at + 1), "  CENTER OF MASS=" + field(centre[0], 10) + "  " +
                                    field(centre[1], 10) + "  " + field(centre[2], 10));
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(lines.at(at + 3 + r), row_text(block.inertia_tensor[r]));
        EXPECT_EQ(lines.at(at + 11 + r), row_text(block.transformation[r]));
    }
    EXPECT_EQ(lines.at(at + 9), "   " + row_text(block.principal_moments));
    EXPECT_EQ(lines.at(at - 1).substr(0, block.title.size()), block.title);
    ASSERT_TRUE(block.principal.has_value());
    expect_listing_as_shown(*block.principal, lines);
}

TEST(ReportReader, ReadsEveryReferenceReportAsItStands) {
    int reports = 0;
    int missing_values = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::test_dir() / "golden")) {
        if (entry.path().extension() != ".OUT")
            continue;
        ++reports;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::vector<std::string> lines = golden_lines(name);
        Report report = read_lines(lines);
        EXPECT_TRUE(report.problems.empty()) << report.problems.front().message();
        auto count = [&](const std::string& text) {
            return std::count(lines.begin(), lines.end(), text);
        };
        // Every molecule is counted, those without listings too.
        ASSERT_EQ(static_cast<long>(report.molecules.size()), count("  PROGRAM TESSEN"));
        long listings = 0;
        long blocks = 0;
        for (std::size_t m = 0; m < report.molecules.size(); ++m) {
            const report::Molecule& molecule = report.molecules[m];
            EXPECT_EQ(molecule.number, static_cast<int>(m + 1));
            EXPECT_EQ(lines.at(molecule.line - 1), "  PROGRAM TESSEN");
            EXPECT_EQ(lines.at(molecule.line).substr(0, molecule.title1.size()), molecule.title1);
            if (molecule.input_frame) {
                ++listings;
                expect_listing_as_shown(*molecule.input_frame, lines);
            }
            for (const report::MassBlock& block : molecule.blocks) {
                expect_block_as_shown(block, lines);
                listings += block.principal ? 1 : 0;
                for (const report::ShownTriple& row : block.inertia_tensor)
                    missing_values += static_cast<int>(std::count(row.begin(), row.end(), Shown()));
            }
            blocks += static_cast<long>(molecule.blocks.size());
        }
        EXPECT_EQ(listings, count(" ATOM NO.       X           Y          Z          MASS"));
        EXPECT_EQ(blocks, std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
                      return line.rfind("  TOTAL MASS=", 0) == 0;
                  }));
    }
    EXPECT_EQ(reports, 72);
    EXPECT_GT(missing_values, 0) << "a tensor shown as asterisks (R028) must read as missing";
}

// Two molecules of three mass sets each, the sets brought by isotope header records.
TEST(ReportReader, TakesTheTitlesOfTheMoleculesBlocksAndListings) {
    Report report = read_lines(golden_lines("ISOTOPE.OUT"));
    ASSERT_EQ(report.molecules.size(), 2u);
    const report::Molecule& water = report.molecules[0];
    EXPECT_EQ(water.title1, "WATER H2O");
    EXPECT_EQ(water.title2, "R(OH) 0.9572 A, HOH 104.52 DEG");
    ASSERT_TRUE(water.input_frame.has_value());
    EXPECT_EQ(water.input_frame->title, "H2(16)O");
    std::vector<std::string> titles;
    for (const report::MassBlock& block : water.blocks) {
        titles.push_back(block.title);
        EXPECT_EQ(block.principal->title, block.title);
    }
    EXPECT_EQ(titles, std::vector<std::string>({"H2(16)O", "HD(16)O", "D2(16)O"}));
    EXPECT_EQ(water.blocks[1].principal->rows[2].mass,
              2.014102); // D: the printed decimal, in double precision
    EXPECT_EQ(report.molecules[1].blocks[2].title, "(13)C6H6");
}

// A molecule of two atoms has no listing but takes its number; a run ended by a
// diagnostic leaves a molecule without blocks. The reader hands out one at a time.
TEST(ReportReader, ReadsOneMoleculeAtATime) {
    std::string text = test::read_file(test::test_dir() / "golden" / "B005.OUT");
    MemorySource source(text);
    report::ReportReader reader(source, "B005.OUT");
    std::vector<std::pair<bool, std::size_t>> shape;
    while (std::optional<report::Molecule> molecule = reader.next_molecule())
        shape.emplace_back(molecule->input_frame.has_value(), molecule->blocks.size());
    std::vector<std::pair<bool, std::size_t>> expected = {{true, 4}, {false, 0}, {true, 0}};
    EXPECT_EQ(shape, expected);
    EXPECT_TRUE(reader.take_problems().empty());
    EXPECT_FALSE(reader.next_molecule().has_value());
}

TEST(ReportReader, ADeckOrAnEmptyFileHasNoMolecule) {
    for (const char* name : {"golden/WATER.DAT", "golden/ISOTOPE.DAT"}) {
        Report report = read_lines(test::report_lines(test::read_file(test::test_dir() / name)));
        EXPECT_TRUE(report.molecules.empty());
        EXPECT_TRUE(report.problems.empty());
    }
    EXPECT_TRUE(read_lines({}).molecules.empty());
}

// Asterisks stand for a value too wide for its field: missing, never 0.
TEST(ReportReader, AFieldOfAsterisksIsMissing) {
    std::vector<std::string> lines = golden_lines("ISOTOPE.OUT");
    std::size_t total = find_line(lines, "  TOTAL MASS=   19.016840");
    lines[total].replace(13, 12, std::string(12, '*'));
    lines[find_line(lines, "  TOTAL MASS=   20.023120")].resize(13); // cut before the number
    lines[total + 3].replace(12, 12, std::string(12, '*'));          // tensor row 1, column 2
    std::size_t listing =
        find_line(lines, " ATOM NO.       X           Y          Z          MASS");
    lines[listing + 2].replace(10, 12, std::string(12, '*')); // x of atom 2
    Report report = read_lines(lines);
    EXPECT_TRUE(report.problems.empty());
    const report::Molecule& water = report.molecules.at(0);
    const report::ListingRow& atom2 = water.input_frame->rows.at(1);
    EXPECT_FALSE(atom2.x.has_value());
    EXPECT_FALSE(atom2.coordinates_shown());
    EXPECT_EQ(atom2.mass, 1.007825);
    EXPECT_TRUE(water.input_frame->rows.at(2).coordinates_shown());
    EXPECT_FALSE(water.blocks.at(1).total_mass.has_value());
    EXPECT_FALSE(water.blocks.at(2).total_mass.has_value());
    EXPECT_FALSE(water.blocks.at(1).inertia_tensor[0][1].has_value());
    EXPECT_TRUE(water.blocks.at(1).inertia_tensor[0][2].has_value());
}

// The rows of a listing end at the first line that is not the next atom's row, in its
// columns: another atom number, or one column too many. A block must list every atom.
TEST(ReportReader, ARowOutOfShapeEndsTheListing) {
    std::vector<std::string> lines = golden_lines("ISOTOPE.OUT");
    const std::string header = " ATOM NO.       X           Y          Z          MASS";
    std::size_t first = find_line(lines, header, 2);
    std::swap(lines[first + 2], lines[first + 3]);
    lines[find_line(lines, header, 3) + 3] += " ";
    Report report = read_lines(lines);
    const report::Molecule& water = report.molecules.at(0);
    EXPECT_EQ(water.input_frame->rows.size(), 3u);
    EXPECT_EQ(water.blocks.at(0).principal->rows.size(), 1u);
    EXPECT_EQ(water.blocks.at(1).principal->rows.size(), 2u);
    ASSERT_EQ(report.problems.size(), 2u);
    EXPECT_EQ(report.problems[0].message(),
              "line 32: molecule 1, block 1: incomplete or cut short: missing atoms in the "
              "principal coordinates");
    EXPECT_EQ(report.problems[1].line, 66u);
}

TEST(ReportReader, ReportsAListingWithoutItsColumnHeaderOrRows) {
    std::vector<std::string> lines = golden_lines("ISOTOPE.OUT");
    std::size_t input = find_line(lines, " ATOM NO.       X           Y          Z          MASS");
    std::size_t second =
        find_line(lines, " ATOM NO.       X           Y          Z          MASS", 3);
    lines[second + 1] = std::string(1, ' '); // block 2 of the water: a column header and no rows
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(input));
    Report report = read_lines(lines);
    EXPECT_EQ(kinds(report.problems),
              std::vector<Kind>({Kind::column_header_missing, Kind::block_incomplete,
                                 Kind::listing_without_rows}));
    EXPECT_EQ(report.problems[0].message(),
              "line 13: molecule 1, input axis frame: column header missing");
    EXPECT_EQ(report.problems[1].block, 2);
    EXPECT_EQ(report.problems[2].message(),
              "line 83: molecule 1, principal axes of block 2: listing without atoms");
    const report::Molecule& water = report.molecules.at(0);
    EXPECT_FALSE(water.input_frame.has_value());
    EXPECT_EQ(water.blocks.size(), 3u); // the others are read as they stand
    EXPECT_EQ(water.blocks[2].principal->rows.size(), 3u);
}

// A report cut short inside a block: what was read is kept, and what is missing is said.
TEST(ReportReader, ReportsABlockCutShort) {
    std::vector<std::string> lines = golden_lines("ISOTOPE.OUT");
    lines.resize(find_line(lines, "  AND TRANSFORMATION TENSOR", 2) + 2);
    Report report = read_lines(lines);
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0].message(),
              "line 66: molecule 1, block 2: incomplete or cut short: missing transformation, "
              "principal coordinates");
    const report::MassBlock& cut = report.molecules.at(0).blocks.at(1);
    EXPECT_EQ(cut.principal_moments[0], 1.845734);
    EXPECT_EQ(cut.transformation[0][0], 0.855633);
    EXPECT_FALSE(cut.transformation[1][0].has_value());
}

TEST(ReportReader, SectionsBeforeAnyMoleculeHeaderAreReportedAndSkipped) {
    std::vector<std::string> lines = golden_lines("ISOTOPE.OUT");
    lines.erase(lines.begin(), lines.begin() + 5); // the header of the water
    Report report = read_lines(lines);
    ASSERT_EQ(report.molecules.size(), 1u);
    EXPECT_EQ(report.molecules[0].title1, "BENZENE C6H6");
    EXPECT_EQ(kinds(report.problems),
              std::vector<Kind>({Kind::listing_before_molecule, Kind::block_before_molecule,
                                 Kind::listing_before_molecule, Kind::block_before_molecule,
                                 Kind::listing_before_molecule, Kind::block_before_molecule,
                                 Kind::listing_before_molecule}));
    EXPECT_EQ(report.problems[0].message(),
              "line 8: coordinate listing before any molecule header");
}

} // namespace
} // namespace tessen::report_test
