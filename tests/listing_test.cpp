#include "geometry/DistCheck.hpp"
#include "geometry/ListXyz.hpp"
#include "geometry/ScreenXyz.hpp"
#include "records/Diagnostic.hpp"
#include "records/LayoutWriter.hpp"
#include "report/ReportVocabulary.hpp"
#include "support/Records.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace tessen {
namespace {

using Lines = std::vector<std::string>;

using Report = test::MemoryReport;
// Atoms at (0, 0, 0), (0.96, 0, 0) and (-0.24, 0.93, 0).
std::unique_ptr<AtomTable> bent_triatomic() {
    auto atoms = std::make_unique<AtomTable>();
    atoms->pos[2] = {0.96f, 0.0f, 0.0f};
    atoms->pos[3] = {-0.24f, 0.93f, 0.0f};
    return atoms;
}

// A listing's fields, none listed yet (large: on the heap).
std::unique_ptr<ListedFields> nothing_listed() {
    return std::make_unique<ListedFields>();
}

TEST(SparseListing, OneLineForThreeEntriesAndTheSentinel) {
    auto atoms = bent_triatomic();
    SparseCoordList list;
    SCREENXYZ(atoms->pos, 3, list);
    Report report;
    LISTSPARSE(report.file, list, *nothing_listed());
    EXPECT_EQ(report.lines(),
              Lines({"  1  2     .960000  1  3    -.240000  2  3     .930000 -1  0     .000000"}));
}

TEST(SparseListing, FiveEntriesTakeTwoLines) {
    auto atoms = bent_triatomic();
    atoms->pos[3][2] = 1.5f;
    SparseCoordList list;
    SCREENXYZ(atoms->pos, 3, list);
    ASSERT_EQ(list.count, 5u);
    Report report;
    LISTSPARSE(report.file, list, *nothing_listed());
    EXPECT_EQ(report.lines(),
              Lines({"  1  2     .960000  1  3    -.240000  2  3     .930000  3  3    1.500000",
                     " -1  0     .000000"}));
}

TEST(SparseListing, AllCoordinatesNegligibleLeavesTheSentinelAlone) {
    auto atoms = std::make_unique<AtomTable>();
    atoms->pos[2] = {1e-6f, -2e-6f, 0.0f};
    SparseCoordList list;
    SCREENXYZ(atoms->pos, 2, list);
    Report report;
    LISTSPARSE(report.file, list, *nothing_listed());
    EXPECT_EQ(report.lines(), Lines({" -1  0     .000000"}));
}

// The compact list copies the fields of the listing before it only where that listing
// showed the very same value at the same row and axis: after a listing of other values,
// of fewer rows, or of none, it shows what it shows edited afresh.
TEST(SparseListing, CopiesOnlyWhatTheListingBeforeShowed) {
    auto atoms = bent_triatomic();
    atoms->pos[3][2] = 1.5f;
    SparseCoordList list;
    SCREENXYZ(atoms->pos, 3, list);
    auto listed = nothing_listed();
    const auto compact_list = [&list, &listed] {
        Report report;
        LISTSPARSE(report.file, list, *listed);
        return report.lines();
    };
    const Lines expected{"  1  2     .960000  1  3    -.240000  2  3     .930000  3  3    1.500000",
                         " -1  0     .000000"};
    Report listing;
    LISTXYZ(listing.file, atoms->pos, *atoms, 3, *listed);
    EXPECT_EQ(compact_list(), expected) << "after the listing of these values";
    auto other = bent_triatomic();
    other->pos[3] = {-0.25f, 0.93f, -1.5f}; // another x and z of row 3; y the same
    LISTXYZ(listing.file, other->pos, *other, 3, *listed);
    EXPECT_EQ(compact_list(), expected) << "after a listing of other values";
    LISTXYZ(listing.file, atoms->pos, *atoms, 2, *listed);
    EXPECT_EQ(compact_list(), expected) << "after a listing without row 3";
    // With nothing listed, a zero is no copy of an empty field.
    listed = nothing_listed();
    list.entries[0] = {1, 1, 0.0f};
    list.count = 1;
    EXPECT_EQ(compact_list(), Lines({"  1  1     .000000"}));
}

TEST(Screening, ThresholdKeepsItsOwnValueAndZeroesBelowIt) {
    auto atoms = std::make_unique<AtomTable>();
    atoms->pos[1] = {4.9e-06f, 5e-06f, -3e-06f};
    atoms->pos[2] = {-5e-06f, -0.0f, std::nextafter(5e-06f, 0.0f)};
    SparseCoordList list;
    SCREENXYZ(atoms->pos, 2, list);
    ASSERT_EQ(list.count, 3u);
    EXPECT_EQ(list.entries[0].axis, 2);
    EXPECT_EQ(list.entries[0].atom, 1);
    EXPECT_EQ(list.entries[0].value, 5e-06f);
    EXPECT_EQ(list.entries[1].axis, 1);
    EXPECT_EQ(list.entries[1].atom, 2);
    EXPECT_EQ(list.entries[1].value, -5e-06f);
    EXPECT_EQ(list.entries[2].axis, -1);
    // Zeroed coordinates are positive zeros.
    EXPECT_FALSE(std::signbit(atoms->pos[1][2]));
    EXPECT_FALSE(std::signbit(atoms->pos[2][1]));
    EXPECT_EQ(atoms->pos[1][0], 0.0f);
    EXPECT_EQ(atoms->pos[2][2], 0.0f);
}

TEST(Screening, FullTableFitsTheList) {
    auto atoms = std::make_unique<AtomTable>();
    for (int i = 1; i <= kMaxAtoms; ++i)
        atoms->pos[i] = {1.0f, 2.0f, 3.0f};
    SparseCoordList list;
    SCREENXYZ(atoms->pos, kMaxAtoms, list);
    EXPECT_EQ(list.count, SparseCoordList::kCapacity);
    EXPECT_EQ(list.entries[list.count - 1].axis, -1);
}

TEST(DistanceCheck, BentTriatomic) {
    auto atoms = bent_triatomic();
    Report report;
    DISTCHECK(report.file, *atoms, 3);
    EXPECT_EQ(report.lines(),
              Lines({" ", "  INTERATOMIC DISTANCES CHECK", " ATOM  1",
                     "   .000000   .960000   .960469", " ATOM  2", "   .960000   .000000  1.518190",
                     " ATOM  3", "   .960469  1.518190   .000000"}));
}

// The number of lines in the block of atom 1 for n atoms on a line.
std::size_t block_lines(int n) {
    auto atoms = std::make_unique<AtomTable>();
    for (int i = 1; i <= n; ++i)
        atoms->pos[i] = {float(i), 0.0f, 0.0f};
    Report report;
    DISTCHECK(report.file, *atoms, n);
    Lines lines = report.lines();
    std::size_t count = 0;
    for (std::size_t k = 3; k < lines.size() && lines[k] != " ATOM  2"; ++k)
        ++count;
    return count + 1; // with its "ATOM" line
}

TEST(DistanceCheck, EightDistancesToALine) {
    EXPECT_EQ(block_lines(3), 2u);
    EXPECT_EQ(block_lines(8), 2u);
    EXPECT_EQ(block_lines(9), 3u);
    EXPECT_EQ(block_lines(17), 4u);
}

TEST(DistanceCheck, NineAtomsLastLineHoldsOneDistanceAndNoLineEndsInABlank) {
    auto atoms = std::make_unique<AtomTable>();
    for (int i = 1; i <= 9; ++i)
        atoms->pos[i] = {float(i), 0.0f, 0.0f};
    Report report;
    DISTCHECK(report.file, *atoms, 9);
    Lines lines = report.lines();
    EXPECT_EQ(lines[3],
              "   .000000  1.000000  2.000000  3.000000  4.000000  5.000000  6.000000  7.000000");
    EXPECT_EQ(lines[4], "  8.000000");
    for (const auto& line : lines) {
        if (line != " ") {
            EXPECT_NE(line.back(), ' ') << "[" << line << "]";
        }
    }
}

TEST(DistanceCheck, SymmetricToTheLastBitAndZeroOnTheDiagonal) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> coord(-50.0f, 50.0f);
    for (int trial = 0; trial < 2000; ++trial) {
        Triple a = {coord(gen), coord(gen), coord(gen)};
        Triple b = {coord(gen), coord(gen), coord(gen)};
        EXPECT_EQ(distance(a, b), distance(b, a));
        EXPECT_EQ(distance(a, a), 0.0f);
    }
}

TEST(DistanceCheck, TooWideDistancesFillTheirFieldWithAsterisks) {
    auto atoms = std::make_unique<AtomTable>();
    atoms->pos[2] = {150.0f, 0.0f, 0.0f};
    Report report;
    DISTCHECK(report.file, *atoms, 2);
    EXPECT_EQ(report.lines().at(3), "   .000000 *********");
}

// The section as the layout of a distance block writes it, row by row from distance():
// the reference for the check's own writer, which edits each pair once and lays out the
// fields itself.
Lines distance_section_by_layout(const AtomTable& atoms, int n) {
    Report report;
    write_line(report.file);
    write_line(report.file, report::kDistanceHeading);
    for (int i = 1; i <= n; ++i) {
        LayoutWriter out(report.file, report::kDistanceBlock);
        out.put(i);
        for (int j = 1; j <= n; ++j)
            out.put(distance(atoms.pos[i], atoms.pos[j]));
        out.finish();
    }
    return report.lines();
}

TEST(DistanceCheck, WritesWhatTheDistanceBlockLayoutWrites) {
    std::mt19937 gen(11);
    // Scales that give distances below 1, up to 10, up to 100 and beyond the field.
    const float scales[] = {0.3f, 4.0f, 40.0f, 90.0f};
    for (int n : {1, 2, 8, 9, 16, 17, 61}) {
        for (float scale : scales) {
            std::uniform_real_distribution<float> coord(-scale, scale);
            auto atoms = std::make_unique<AtomTable>();
            for (int i = 1; i <= n; ++i)
                atoms->pos[i] = {coord(gen), coord(gen), i % 5 == 0 ? -0.0f : coord(gen)};
            if (n > 2)
                atoms->pos[2] = atoms->pos[1]; // two atoms in one place
            Report report;
            DISTCHECK(report.file, *atoms, n);
            EXPECT_EQ(report.lines(), distance_section_by_layout(*atoms, n))
                << n << " atoms, scale " << scale;
        }
    }
}

// A difference beyond the single-precision range ends the run in the row of the first
// pair that meets it, after the rows before it are written.
TEST(DistanceCheck, OverflowEndsTheRunAtTheFirstRowThatMeetsIt) {
    auto atoms = std::make_unique<AtomTable>();
    atoms->pos[2] = {3.0e38f, 0.0f, 0.0f};
    atoms->pos[3] = {-3.0e38f, 0.0f, 0.0f};
    Report report;
    EXPECT_THROW(DISTCHECK(report.file, *atoms, 3), RunError);
    EXPECT_EQ(report.lines(), Lines({" ", "  INTERATOMIC DISTANCES CHECK", " ATOM  1",
                                     "   .000000 ********* *********"}));
}

} // namespace
} // namespace tessen
