#include "geometry/MassProps.hpp"
#include "records/Diagnostic.hpp"
#include "support/DeckRun.hpp"
#include "support/Decks.hpp"
#include "support/Lines.hpp"
#include "support/Records.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace tessen {
namespace {

using Lines = std::vector<std::string>;
using namespace test;

// Everything one MASSPROPS call needs, and the lines it writes.
struct Block {
    std::unique_ptr<AtomTable> atoms = std::make_unique<AtomTable>();
    std::unique_ptr<MassValues> block = std::make_unique<MassValues>();
    TitleSet titles;
    SparseCoordList list;
    Lines write(std::int32_t n) {
        MemoryReport report;
        MASSPROPS(report.file, *atoms, titles, n, *block, list);
        return report.lines();
    }
};

// Masses 16, 1 and 1 at (0, 0, 0), (0.96, 0, 0) and (-0.24, 0.93, 0).
Block bent_triatomic() {
    Block b;
    b.atoms->pos[2] = {0.96f, 0.0f, 0.0f};
    b.atoms->pos[3] = {-0.24f, 0.93f, 0.0f};
    b.atoms->mass[1] = 16.0f;
    b.atoms->mass[2] = 1.0f;
    b.atoms->mass[3] = 1.0f;
    b.titles.third.assign("BENT TRIATOMIC");
    return b;
}

TEST(MassProperties, BentTriatomicBlockLineForLine) {
    Block b = bent_triatomic();
    const std::string title = "BENT TRIATOMIC" + std::string(46, ' ');
    EXPECT_EQ(b.write(3),
              Lines({" ",
                     title,
                     "  TOTAL MASS=   18.000000",
                     "  CENTER OF MASS=   .040000     .051667     .000000",
                     "    MOMENT OF INERTIA TENSOR",
                     "     .816850     .260400     .000000",
                     "     .260400     .950400     .000000",
                     "     .000000     .000000    1.767250",
                     " ",
                     title,
                     "   PRINCIPAL MOMENT OF INERTIA",
                     "       1.152450     .614800    1.767250",
                     "  AND TRANSFORMATION TENSOR",
                     "     .613027    -.790062     .000000",
                     "     .790062     .613027     .000000",
                     "     .000000     .000000    1.000000",
                     " ",
                     title,
                     "    PRINCIPAL CARTESIAN COORDINATES",
                     "   NOTE THAT THESE DIFFER FOR DIFFERENT ISOTOPES",
                     " ATOM NO.       X           Y          Z          MASS",
                     "      1       -.065341    -.000071     .000000    16.000000",
                     "      2        .523165    -.758530     .000000     1.000000",
                     "      3        .522290     .759660     .000000     1.000000",
                     " ",
                     "   PRINCIPAL CARTESIAN COORDINATES",
                     "   IN FORMAT FOR INPUT TO KOFT",
                     "   NOTE THAT THESE DIFFER FOR DIFFERENT ISOTOPES",
                     title,
                     "  1  1    -.065341  2  1    -.000071  1  2     .523165  2  2    -.758530",
                     "  1  3     .522290  2  3     .759660 -1  0     .000000"}));
}

TEST(MassProperties, BentTriatomicStoredValues) {
    Block b = bent_triatomic();
    b.write(3);
    const MassValues& m = *b.block;
    EXPECT_EQ(m.total_mass, 18.0f);
    EXPECT_FLOAT_EQ(m.centre[0], 0.04f);
    EXPECT_NEAR(m.centre[1], 0.0516667, 5e-8);
    // The off-diagonal element is positive: minus the sum of m u_x u_y.
    EXPECT_GT(m.tensor[3], 0.0f);
    EXPECT_EQ(m.tensor[3], m.tensor[1]);
    // The tensor as printed is the one before diagonalisation.
    EXPECT_FLOAT_EQ(m.tensor[0], 0.81685f);
}

TEST(MassProperties, PlanarMoleculeHasExactZerosAndTheZAxisInColumnThree) {
    Block b = bent_triatomic();
    b.atoms->pos[4] = {0.5f, -0.7f, 0.0f};
    b.atoms->mass[4] = 2.0f;
    b.write(4);
    const Matrix3& t = b.block->tensor;
    EXPECT_EQ(t[6], 0.0f); // (1, 3)
    EXPECT_EQ(t[7], 0.0f); // (2, 3)
    EXPECT_EQ(t[2], 0.0f); // (3, 1)
    EXPECT_EQ(t[5], 0.0f); // (3, 2)
    EXPECT_NEAR(t[8], t[0] + t[4], 1e-5f);
    const Matrix3& v = b.block->axes;
    EXPECT_EQ(v[6], 0.0f);
    EXPECT_EQ(v[7], 0.0f);
    EXPECT_EQ(v[8], 1.0f);
}

TEST(MassProperties, NegligiblePrincipalCoordinateIsListedButNotInTheSparseList) {
    Block b = bent_triatomic();
    Lines lines = b.write(3);
    // -0.000071 is kept (above 5e-06); z of every atom is exactly zero and is dropped.
    EXPECT_EQ(b.list.count, 7u);
    // A linear molecule along x: its principal y and z coordinates are all negligible.
    Block linear;
    linear.atoms->pos[2] = {1.1f, 0.0f, 0.0f};
    linear.atoms->pos[3] = {2.3f, 3e-06f, 0.0f};
    linear.atoms->mass[1] = 12.0f;
    linear.atoms->mass[2] = 16.0f;
    linear.atoms->mass[3] = 32.0f;
    lines = linear.write(3);
    std::size_t nonzero = 0;
    for (std::size_t e = 0; e + 1 < linear.list.count; ++e) {
        EXPECT_GE(std::fabs(linear.list.entries[e].value), 5e-06f);
        ++nonzero;
    }
    EXPECT_EQ(nonzero, 3u);
}

// A molecule of n atoms on a line along x with masses 1, 2, ..., its isotope sets after.
std::string chain(int n, const std::string& sets) {
    std::string deck = molecule_head(n, 1, "MAIN");
    deck += atom_record(1, 0, 0, 0, 0, 0, 0, 1) + atom_record(2, 1, 0, 0, 1, 0, 0, 2) +
            atom_record(3, 1, 2, 0, 1, 90, 0, 3);
    for (int i = 4; i <= n; ++i)
        deck += atom_record(i, i - 1, i - 2, i - 3, 1, 100, 60, i);
    return deck + sets;
}

// A centre-of-mass sum beyond the float range ends the run as an overflow before any line
// of the block, on every axis, although a later atom would bring the sum back.
TEST(MassProperties, CentreSumBeyondTheFloatRangeIsAnOverflow) {
    for (int axis = 0; axis < 3; ++axis) {
        Block b = bent_triatomic();
        b.atoms->mass[2] = 2.0f;
        b.atoms->pos[2][axis] = 3.0e38f;  // 6e38 in the sum
        b.atoms->pos[3][axis] = -3.0e38f; // would bring it back, were it not already out
        try {
            b.write(3);
            ADD_FAILURE() << "no fault for axis " << axis;
        } catch (const RunError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::fp_overflow) << "axis " << axis;
        }
    }
}

TEST(IsotopeSets, SixMassesTakeOneRecordAndSevenTakeTwo) {
    const std::string six = "   1.0         2.0         3.0         4.0         5.0         6.0\n";
    auto run = run_deck(chain(6, " -6SIX\n" + six + "999\n"));
    ASSERT_FALSE(run.error) << run.message;
    auto seven = run_deck(chain(7, " -6SEVEN\n" + six + "        70.0\n 99\n999\n"));
    ASSERT_FALSE(seven.error) << seven.message;
    Lines rows = lines_after(seven.report, "    PRINCIPAL CARTESIAN COORDINATES", 10, 2);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[9].substr(46), "    70.000000");
    // The record after the second mass record is the next isotope header: 99 ends the
    // molecule and is skipped, 999 ends the run.
    EXPECT_EQ(seven.report.substr(seven.report.size() - 12), " \r\n \r\n \r\n \r\n");
}

TEST(IsotopeSets, UnchangedMassesGiveTheSameBlockButForTheTitle) {
    const std::string masses = "         1.0         2.0         3.0         4.0\n";
    auto run = run_deck(chain(4, " -6SAME MASSES\n" + masses + "999\n"));
    ASSERT_FALSE(run.error) << run.message;
    Lines lines = report_lines(run.report);
    auto first = std::find(lines.begin(), lines.end(), "  TOTAL MASS=   10.000000");
    auto second = std::find(first + 1, lines.end(), "  TOTAL MASS=   10.000000");
    ASSERT_NE(second, lines.end());
    const std::ptrdiff_t length = second - first - 5; // up to the isotope set's opening
    for (std::ptrdiff_t k = 0; k < length; ++k) {
        const std::string& a = first[k];
        const std::string& b = second[k];
        if (a.rfind("MAIN", 0) == 0)
            EXPECT_EQ(b, "SAME MASSES" + std::string(49, ' '));
        else
            EXPECT_EQ(a, b) << "line " << k << " of the block";
    }
    EXPECT_EQ(Lines(second - 5, second),
              Lines({" ", " ", "    NEXT ISOTOPE", " ", "SAME MASSES" + std::string(49, ' ')}));
}

} // namespace
} // namespace tessen
