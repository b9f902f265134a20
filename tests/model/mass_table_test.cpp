#include "model/MassTable.hpp"

#include <gtest/gtest.h>

namespace tessen::model {
namespace {

std::string identified(double mass) {
    const auto known = identify_mass(mass);
    return known ? known->name() : "none";
}

TEST(MassTable, IsotopeMassesAndStandardWeightsAreNamed) {
    EXPECT_EQ(identified(1.007825), "1H");
    EXPECT_EQ(identified(2.014102), "2H");
    EXPECT_EQ(identified(13.003355), "13C");
    EXPECT_EQ(identified(17.99916), "18O");
    EXPECT_EQ(identified(126.904473), "127I");
    EXPECT_EQ(identified(79.904), "Br");
    // A main isotope wins over another element's rare one that lies nearer.
    EXPECT_EQ(identified(14.00307), "14N");
    EXPECT_EQ(identified(14.0067), "N");
}

TEST(MassTable, MassesFarFromEveryKnownOneAndDummiesAreNotNamed) {
    EXPECT_EQ(identified(100.7825), "none");
    EXPECT_EQ(identified(10.07825), "none");
    EXPECT_EQ(identified(0.0), "none");
    EXPECT_EQ(identified(-1.0), "none");
    EXPECT_FALSE(nearest_known_mass(0.0));
    const auto nearest = nearest_known_mass(10.07825);
    ASSERT_TRUE(nearest);
    EXPECT_NEAR(nearest->mass, 10.07825, 0.1);
}

TEST(MassTable, IsotopesByName) {
    EXPECT_DOUBLE_EQ(isotope_by_name("D")->mass, isotope_by_name("2H")->mass);
    EXPECT_NEAR(isotope_by_name("13C")->mass, 13.003355, 1e-6);
    EXPECT_EQ(isotope_by_name("13C")->atomic_number, 6u);
    EXPECT_FALSE(isotope_by_name("C"));
    EXPECT_FALSE(isotope_by_name("99C"));
    EXPECT_FALSE(isotope_by_name("13Xx"));
    EXPECT_FALSE(isotope_by_name("13c"));
}

} // namespace
} // namespace tessen::model
