#include "model/Notation.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tessen::model {
namespace {

TEST(Notation, ErrorInTheLastTwoDigits) {
    EXPECT_EQ(value_with_error(1.49906, 0.00034), "1.49906(34)");
    EXPECT_EQ(value_with_error(1.4990638, 0.000337), "1.49906(34)");
    EXPECT_EQ(value_with_error(104.4776, 0.0123), "104.478(12)");
    EXPECT_EQ(value_with_error(12.34, 0.96), "12.34(96)");
    EXPECT_EQ(value_with_error(0.0, 0.05), "0.000(50)");
    EXPECT_EQ(value_with_error(-0.5, 0.0012), "-0.5000(12)");
    // An error that rounds up to the next power of ten keeps two digits.
    EXPECT_EQ(value_with_error(1.2345, 0.0996), "1.23(10)");
    EXPECT_EQ(value_with_error(1.2345, 0.00999), "1.234(10)");
    // A value that rounds to zero has no sign.
    EXPECT_EQ(value_with_error(-0.00001, 0.0012), "0.0000(12)");
    // An error far below the value is still given to two digits.
    EXPECT_EQ(value_with_error(1.5, 3e-15), "1.5000000000000000(30)");
}

TEST(Notation, ErrorsOfAUnitAndMore) {
    EXPECT_EQ(value_with_error(12.34, 1.5), "12.3(15)");
    EXPECT_EQ(value_with_error(1234.6, 15), "1235(15)");
    EXPECT_EQ(value_with_error(12346, 150), "12350(150)");
    EXPECT_EQ(value_with_error(-12346, 1500), "-12300(1500)");
    EXPECT_EQ(value_with_error(40, 1500), "0(1500)");
}

TEST(Notation, ValuesWithoutAnErrorAndValuesThatAreNotNumbers) {
    EXPECT_EQ(value_with_error(1.0958, 0), "1.0958");
    EXPECT_EQ(value_with_error(104.5, std::nan("")), "104.5");
    EXPECT_EQ(value_with_error(-2.0, -1), "-2");
    EXPECT_EQ(value_with_error(1.0 / 3, 0), "0.3333333333");
    EXPECT_EQ(value_with_error(180.00000000001, 0), "180");
    EXPECT_EQ(value_with_error(-1e-20, 0), "0");
    EXPECT_EQ(plain_value(123456789012.7), "123456789013");
    EXPECT_EQ(value_with_error(std::nan(""), 0.1), "-");
    EXPECT_EQ(value_with_error(std::numeric_limits<double>::infinity(), 0.1), "-");
}

// An error shows only where it takes digits from the ten that a value is given with.
TEST(Notation, ValueWithinItsError) {
    EXPECT_EQ(value_within_error(822482.0152, 0.67), "822482.02(67)");
    EXPECT_EQ(value_rounded_to_error(822482.0152, 0.67), "822482.02");
    EXPECT_EQ(value_within_error(822482.6706470952, 8.4e-9), "822482.6706");
    EXPECT_EQ(value_within_error(0.0, 0.0011), "0.0000(11)");
    EXPECT_EQ(value_within_error(1e-17, 1.6e-15), "0"); // below the fifteenth decimal
    EXPECT_EQ(error_value(0.001982), "0.0020");
    EXPECT_EQ(error_value(1234), "1200");
    EXPECT_EQ(error_value(1.46e-8), "1.5e-08");
}

} // namespace
} // namespace tessen::model
