#include "support/DeckRun.hpp"
#include "support/Decks.hpp"
#include "support/Lines.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessen {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

const std::string kHeader = " ATOM NO.       X           Y          Z          MASS";

// A molecule's head and its atom records.
std::string molecule(int n, const std::vector<std::string>& atoms, int isotope_flag = 0) {
    std::string deck = molecule_head(n, isotope_flag);
    for (const auto& a : atoms)
        deck += a;
    return deck;
}

// The input axis frame listing of a one-molecule deck: header line and n rows.
Lines input_frame(const std::string& deck, std::size_t n) {
    auto run = run_deck(deck + "999\n");
    EXPECT_FALSE(run.error) << run.message;
    return lines_after(run.report, kHeader, n + 1);
}

TEST(Construction, TetrahedralDefaultForABlankZeroOrNegativeZeroAngle) {
    const std::string first =
        atom_record(1, 0, 0, 0, 0, 0, 0, 1) + atom_record(2, 1, 0, 0, 1, 0, 0, 1);
    const Lines expected = {kHeader, "      1        .000000     .000000     .000000     1.000000",
                            "      2       1.000000     .000000     .000000     1.000000",
                            "      3       -.333333     .942809     .000000     1.000000"};
    EXPECT_EQ(input_frame(molecule(3, {first, "  3  1  0  0    1.000000" + std::string(24, ' ') +
                                                  "         1.0\n"}),
                          3),
              expected);
    EXPECT_EQ(input_frame(molecule(3, {first, atom_record(3, 1, 0, 0, 1, 0, 0, 1)}), 3), expected);
    EXPECT_EQ(
        input_frame(
            molecule(3, {first, "  3  1  0  0    1.000000        -0.0         0.0         1.0\n"}),
            3),
        expected);
}

TEST(Construction, ThirdAtomMeasuresFromTheOtherSideUnlessBondedToAtomOne) {
    const std::string first =
        atom_record(1, 0, 0, 0, 0, 0, 0, 1) + atom_record(2, 1, 0, 0, 1, 0, 0, 1);
    Lines rows = input_frame(molecule(3, {first, atom_record(3, 2, 0, 0, 1, 0, 0, 1)}), 3);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3], "      3       1.333333     .942809     .000000     1.000000");
}

// Atoms 2 to 5 around atom 1 at 1.09 with every angle blank.
std::string tetrahedron() {
    return molecule(
        5, {atom_record(1, 0, 0, 0, 0, 0, 0, 12), atom_record(2, 1, 0, 0, 1.09, 0, 0, 1),
            atom_record(3, 1, 2, 0, 1.09, 0, 0, 1), atom_record(4, 1, 2, 3, 1.09, 0, 120, 1),
            atom_record(5, 1, 2, 3, 1.09, 0, -120, 1)});
}

TEST(Construction, RegularTetrahedron) {
    EXPECT_EQ(input_frame(tetrahedron(), 5),
              Lines({kHeader, "      1        .000000     .000000     .000000    12.000000",
                     "      2       1.090000     .000000     .000000     1.000000",
                     "      3       -.363333    1.027662     .000000     1.000000",
                     "      4       -.363333    -.513831     .889981     1.000000",
                     "      5       -.363333    -.513831    -.889981     1.000000"}));
}

TEST(Construction, RegularTetrahedronDistancesAreAllEqual) {
    auto run = run_deck(tetrahedron() + "999\n");
    Lines block = lines_after(run.report, " ATOM  2", 2);
    ASSERT_EQ(block.size(), 2u);
    EXPECT_EQ(block[1], "  1.090000   .000000  1.779963  1.779963  1.779963");
    block = lines_after(run.report, " ATOM  5", 2);
    ASSERT_EQ(block.size(), 2u);
    EXPECT_EQ(block[1], "  1.090000  1.779963  1.779963  1.779963   .000000");
}

TEST(Construction, StraightAngleLeavesARoundingResidueThatIsScreenedAway) {
    const std::string deck =
        molecule(3, {atom_record(1, 0, 0, 0, 0, 0, 0, 1), atom_record(2, 1, 0, 0, 1, 0, 0, 1),
                     atom_record(3, 1, 2, 0, 1.5, 180, 0, 1)});
    Lines rows = input_frame(deck, 3);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3], "      3      -1.500000     .000000     .000000     1.000000");
    auto run = run_deck(deck + "999\n");
    // Only x of atoms 2 and 3 survive the screening: y of atom 3 (about 3.7e-08) does not.
    EXPECT_EQ(lines_after(run.report, "   NOTE THAT THESE ARE INDEPENDENT OF ISOTOPE", 2, 2)[1],
              "  1  2    1.000000  1  3   -1.500000 -1  0     .000000");
}

// Atom 4 bonded to atom 2 at right angles to the bond 2-1, by the dihedral T about 2->1
// measured from atom 3, which stands at (0, 1, 0).
Lines fourth_atom_at(double t) {
    return input_frame(
        molecule(4, {atom_record(1, 0, 0, 0, 0, 0, 0, 1), atom_record(2, 1, 0, 0, 1, 0, 0, 1),
                     atom_record(3, 1, 2, 0, 1, 90, 0, 1), atom_record(4, 2, 1, 3, 1, 90, t, 1)}),
        4);
}

TEST(Construction, DihedralZeroIsOnTheSideOfTheThirdReference) {
    EXPECT_EQ(fourth_atom_at(0).at(4),
              "      4       1.000000    1.000000     .000000     1.000000");
}

TEST(Construction, DihedralHalfTurnIsOnTheOtherSide) {
    EXPECT_EQ(fourth_atom_at(180).at(4),
              "      4       1.000000   -1.000000     .000000     1.000000");
}

TEST(Construction, PositiveDihedralTurnsTowardE1CrossE2) {
    // e1 = (-1, 0, 0) along 2->1 and e2 = (0, 1, 0) toward atom 3 give e3 = (0, 0, -1).
    EXPECT_EQ(fourth_atom_at(90).at(4),
              "      4       1.000000     .000000   -1.000000     1.000000");
    EXPECT_EQ(fourth_atom_at(-90).at(4),
              "      4       1.000000     .000000    1.000000     1.000000");
}

TEST(Construction, RecordsOutOfOrderAreStoredByAtomNumber) {
    Lines rows = input_frame(
        molecule(3, {atom_record(1, 0, 0, 0, 0, 0, 0, 16), atom_record(3, 1, 0, 0, 1.2, 0, 0, 3),
                     atom_record(2, 1, 3, 0, 1.0, 90, 0, 2)}),
        3);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1], "      1        .000000     .000000     .000000    16.000000");
    EXPECT_EQ(rows[2], "      2        .000000    1.000000     .000000     2.000000");
    EXPECT_EQ(rows[3], "      3       1.200000     .000000     .000000     3.000000");
}

TEST(Construction, SecondSmallerMoleculeListsTheRowsThatTheFirstLeft) {
    const std::string deck =
        tetrahedron() +
        molecule(4, {atom_record(1, 0, 0, 0, 0, 0, 0, 2), atom_record(2, 1, 0, 0, 2, 0, 0, 2),
                     atom_record(4, 1, 2, 0, 2, 90, 0, 2), atom_record(4, 1, 2, 3, 3, 90, 0, 7)}) +
        "999\n";
    auto run = run_deck(deck);
    ASSERT_FALSE(run.error) << run.message;
    Lines rows = lines_after(run.report, kHeader, 5, 3); // after two listings of the first
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2], "      2       2.000000     .000000     .000000     2.000000");
    EXPECT_EQ(rows[3], "      3       -.363333    1.027662     .000000     1.000000"); // left over
    EXPECT_EQ(rows[4],
              "      4        .000000    3.000000     .000000     7.000000"); // written twice
}

TEST(Construction, FewerThanThreeAtomsStillReadsThreeRecordsAndEndsTheMolecule) {
    for (int n : {2, 1, 0, -1}) {
        const std::string deck =
            molecule(n,
                     {atom_record(1, 0, 0, 0, 0, 0, 0, 1), atom_record(2, 1, 0, 0, 1, 0, 0, 1),
                      atom_record(3, 1, 2, 0, 1, 90, 0, 1)},
                     1) +
            "999\n";
        auto run = run_deck(deck);
        ASSERT_FALSE(run.error) << "n = " << n << ": " << run.message;
        Lines lines = report_lines(run.report);
        ASSERT_EQ(lines.size(), 5u + 3u + 4u) << "n = " << n;
        EXPECT_EQ(lines[5], "  1  0  0  0     .000000     .000000     .000000    1.000000");
        EXPECT_EQ(lines[7], "  3  1  2  0    1.000000   90.000000     .000000    1.000000");
        EXPECT_EQ(lines[8], " ");
        EXPECT_EQ(lines[11], " ");
    }
}

TEST(Construction, EchoShowsTheRecordAsRead) {
    auto run = run_deck(molecule(3, {"  1" + std::string(45, ' ') + "   15.994915\n",
                                     atom_record(123, 1, 0, 0, 1, 0, 0, 1),
                                     atom_record(3, 1, 123, 0, 1, 0, 0, 1)}) +
                        "999\n");
    ASSERT_FALSE(run.error) << run.message;
    Lines echo = lines_after(run.report, "          INPUT VALENCE COORDINATES", 4);
    ASSERT_EQ(echo.size(), 4u);
    EXPECT_EQ(echo[1], "  1  0  0  0     .000000     .000000     .000000   15.994920");
    EXPECT_EQ(echo[2], "123  1  0  0    1.000000     .000000     .000000    1.000000");
    EXPECT_EQ(echo[3], "  3  1123  0    1.000000     .000000     .000000    1.000000");
}

} // namespace
} // namespace tessen
