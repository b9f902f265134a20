// Element symbols that tessen-xyz gives to the masses of a report.

#include "xyz/ElementTable.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace tessen::xyz {
namespace {

// Isotope masses as a deck gives them, to six decimals, and as the report shows them
// (single precision, seven significant digits).
TEST(ElementTable, IsotopeMassesNameTheirElement) {
    EXPECT_EQ(element_for_mass(1.007825), "H");
    EXPECT_EQ(element_for_mass(12.0), "C");
    EXPECT_EQ(element_for_mass(13.003355), "C");
    EXPECT_EQ(element_for_mass(14.003074), "N");
    EXPECT_EQ(element_for_mass(15.99492f), "O");
    EXPECT_EQ(element_for_mass(17.99916), "O");
    EXPECT_EQ(element_for_mass(18.998403), "F");
    EXPECT_EQ(element_for_mass(31.972071), "S");
    EXPECT_EQ(element_for_mass(34.968853), "Cl");
    EXPECT_EQ(element_for_mass(36.965903), "Cl");
    EXPECT_EQ(element_for_mass(78.918338), "Br");
    EXPECT_EQ(element_for_mass(80.91629f), "Br");
}

TEST(ElementTable, DeuteriumAndTritiumAreHydrogen) {
    EXPECT_EQ(element_for_mass(2.014102), "H");
    EXPECT_EQ(element_for_mass(3.016049), "H");
    EXPECT_EQ(element_for_mass(3.016029), "He"); // helium-3, two hundred thousandths lighter
}

// Nuclides of different elements with nearly the same mass: the nearest one wins.
TEST(ElementTable, IsobarsAreToldApartByTheirExactMasses) {
    EXPECT_EQ(element_for_mass(35.967081), "S");
    EXPECT_EQ(element_for_mass(35.967545), "Ar");
    EXPECT_EQ(element_for_mass(39.962383), "Ar");
    EXPECT_EQ(element_for_mass(39.962591), "Ca");
    EXPECT_EQ(element_for_mass(53.938879), "Cr");
    EXPECT_EQ(element_for_mass(53.939609), "Fe");
}

// Decks with average masses: N 14.007 would lie nearest carbon-14, and Br 79.904 nearest
// selenium-80, if the table held isotopes only.
TEST(ElementTable, StandardAtomicWeightsNameTheirElement) {
    EXPECT_EQ(element_for_mass(1.008), "H");
    EXPECT_EQ(element_for_mass(12.011), "C");
    EXPECT_EQ(element_for_mass(14.007), "N");
    EXPECT_EQ(element_for_mass(15.999), "O");
    EXPECT_EQ(element_for_mass(32.06), "S");
    EXPECT_EQ(element_for_mass(35.45), "Cl");
    EXPECT_EQ(element_for_mass(63.546), "Cu");
    EXPECT_EQ(element_for_mass(78.971), "Se");
    EXPECT_EQ(element_for_mass(79.904), "Br");
}

TEST(ElementTable, RoundedMassesWithinTheToleranceStillNameTheirElement) {
    EXPECT_EQ(element_for_mass(1.0), "H");
    EXPECT_EQ(element_for_mass(16.0), "O");
    EXPECT_EQ(element_for_mass(19.0), "F");
    EXPECT_EQ(element_for_mass(35.5), "Cl");
}

// Phosphorus has one isotope and no other reference within a mass unit.
TEST(ElementTable, TheToleranceEndsTheSearch) {
    const double p31 = 30.97376200;
    EXPECT_EQ(element_for_mass(p31 + 0.099), "P");
    EXPECT_EQ(element_for_mass(p31 - 0.099), "P");
    EXPECT_EQ(element_for_mass(p31 + 0.101), "X");
    EXPECT_EQ(element_for_mass(p31 - 0.101), "X");
}

TEST(ElementTable, MassesOfNoElementAreX) {
    EXPECT_EQ(element_for_mass(0.0), "X"); // a dummy atom
    EXPECT_EQ(element_for_mass(-0.0), "X");
    EXPECT_EQ(element_for_mass(-1.007825), "X");
    EXPECT_EQ(element_for_mass(0.5), "X");
    EXPECT_EQ(element_for_mass(127.0), "X"); // iodine: beyond bromine
    EXPECT_EQ(element_for_mass(1.0e6), "X");
    EXPECT_EQ(element_for_mass(std::numeric_limits<double>::quiet_NaN()), "X");
    EXPECT_EQ(element_for_mass(std::numeric_limits<double>::infinity()), "X");
}

} // namespace
} // namespace tessen::xyz
