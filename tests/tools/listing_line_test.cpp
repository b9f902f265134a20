// Reading the lines of a report's coordinate listing: "(4X,I3,3X,3F12.6,F13.6)".

#include "xyz/ListingLine.hpp"

#include <gtest/gtest.h>

namespace tessen::xyz {
namespace {

constexpr const char* kAtom3 = "      3       -.239987     .926627     .000000     1.007825";
constexpr const char* kAtom12 = "     12   -1234.568000  -10.000000    9.000001   127.000000";

TEST(ListingLine, IsKnownByItsShapeAndAtomNumber) {
    EXPECT_TRUE(is_listing_line(kAtom3, 3));
    EXPECT_FALSE(is_listing_line(kAtom3, 2));
    EXPECT_FALSE(is_listing_line(kAtom3, 4));
    EXPECT_TRUE(is_listing_line(kAtom12, 12));
    EXPECT_TRUE(
        is_listing_line("    500        .000000     .000000     .000000      .000000", 500));
    // The lines around a listing: a blank line, the column header, a sparse list line.
    EXPECT_FALSE(is_listing_line(" ", 1));
    EXPECT_FALSE(is_listing_line(" ATOM NO.       X           Y          Z          MASS", 1));
    EXPECT_FALSE(is_listing_line("  1  2     .957200  1  3    -.239987  2  3     .926627", 1));
    // An echo line of the atom records is one column longer and begins differently.
    EXPECT_FALSE(
        is_listing_line("  1  0  0  0     .000000     .000000     .000000   15.994920", 1));
    // One column short or long.
    EXPECT_FALSE(is_listing_line(std::string(kAtom3).substr(0, 58), 3));
    EXPECT_FALSE(is_listing_line(std::string(kAtom3) + " ", 3));
}

TEST(ListingLine, ReadsTheCoordinatesAndTheMass) {
    std::optional<ListedAtom> atom = read_listing_line(kAtom3);
    ASSERT_TRUE(atom.has_value());
    EXPECT_EQ(atom->x, -0.239987f);
    EXPECT_EQ(atom->y, 0.926627f);
    EXPECT_EQ(atom->z, 0.0f);
    ASSERT_TRUE(atom->mass.has_value());
    EXPECT_EQ(*atom->mass, 1.007825f);

    atom = read_listing_line(kAtom12);
    ASSERT_TRUE(atom.has_value());
    EXPECT_EQ(atom->x, -1234.568f);
    EXPECT_EQ(atom->y, -10.0f);
    EXPECT_EQ(atom->z, 9.000001f);
    EXPECT_EQ(atom->mass, 127.0f);
}

// A mass of a million or more does not fit its field: the atom keeps its coordinates and
// has no mass.
TEST(ListingLine, AMassShownAsAsterisksIsAbsent) {
    std::optional<ListedAtom> atom =
        read_listing_line("      2       1.290000     .000000     .000000*************");
    ASSERT_TRUE(atom.has_value());
    EXPECT_EQ(atom->x, 1.29f);
    EXPECT_FALSE(atom->mass.has_value());
}

TEST(ListingLine, ACoordinateShownAsAsteriskMakesTheLineUnreadable) {
    EXPECT_FALSE(read_listing_line("      1   ************     .000000     .000000    12.000000")
                     .has_value());
    EXPECT_FALSE(read_listing_line("      1        .000000     .000000************    12.000000")
                     .has_value());
}

} // namespace
} // namespace tessen::xyz
