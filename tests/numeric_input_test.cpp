#include "records/NumericInput.hpp"
#include "sweep/ReaderComparison.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tessen {
namespace {

constexpr std::int32_t kNotRead = -777;
constexpr float kNotReadReal = -777.0f;

// The value of a record read as one Iw field from its first column; kNotRead when the
// read did not succeed.
std::int32_t int_of(std::string_view record, int w) {
    std::size_t pos = 0;
    std::int32_t value = kNotRead;
    return read_int_field(record, pos, w, value) == FieldStatus::ok ? value : kNotRead;
}

FieldStatus int_status(std::string_view record, int w) {
    std::size_t pos = 0;
    std::int32_t value = 0;
    return read_int_field(record, pos, w, value);
}

float real_of(std::string_view record, int w, int d) {
    std::size_t pos = 0;
    float value = kNotReadReal;
    return read_real_field(record, pos, w, d, value) == FieldStatus::ok ? value : kNotReadReal;
}

FieldStatus real_status(std::string_view record, int w, int d) {
    std::size_t pos = 0;
    float value = 0.0f;
    return read_real_field(record, pos, w, d, value);
}

// The values of `count` Iw fields read one after another from the first column.
std::vector<std::int32_t> ints_of(std::string_view record, int count, int w) {
    std::vector<std::int32_t> values;
    std::size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        std::int32_t value = kNotRead;
        values.push_back(read_int_field(record, pos, w, value) == FieldStatus::ok ? value
                                                                                  : kNotRead);
    }
    return values;
}

std::vector<float> reals_of(std::string_view record, int count, int w, int d) {
    std::vector<float> values;
    std::size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        float value = kNotReadReal;
        values.push_back(
            read_real_field(record, pos, w, d, value) == FieldStatus::ok ? value : kNotReadReal);
    }
    return values;
}

using Ints = std::vector<std::int32_t>;
using Reals = std::vector<float>;

// ---- Collecting the field -------------------------------------------------------

TEST(NumericInputField, TakesItsOwnColumns) {
    EXPECT_EQ(ints_of("  1  2  3  4", 4, 3), (Ints{1, 2, 3, 4}));
    EXPECT_EQ(ints_of("123456", 2, 3), (Ints{123, 456}));
    EXPECT_EQ(ints_of("-1-2-3", 3, 2), (Ints{-1, -2, -3}));
}

TEST(NumericInputField, ShortRecordReadsBlanks) {
    EXPECT_EQ(ints_of("  1", 4, 3), (Ints{1, 0, 0, 0}));
    EXPECT_EQ(ints_of("", 2, 3), (Ints{0, 0}));
    EXPECT_EQ(reals_of("   1.5", 3, 12, 6), (Reals{1.5f, 0.0f, 0.0f}));
}

TEST(NumericInputField, BlanksAndTabsAnywhereAreIgnored) {
    EXPECT_EQ(int_of("  1 2 ", 6), 12);
    EXPECT_EQ(int_of("\t7\t", 3), 7);
    EXPECT_EQ(int_of(" - 5", 4), -5);
    EXPECT_EQ(real_of("  1 2 3 4 5 6 7", 15, 6), 1.234567f);
    EXPECT_EQ(real_of("1\t.\t5 E 1", 12, 6), 15.0f);
}

TEST(NumericInputField, CommaEndsTheFieldAndIsConsumed) {
    EXPECT_EQ(ints_of("1,2,3", 3, 3), (Ints{1, 2, 3}));
    EXPECT_EQ(ints_of(",5,", 3, 3), (Ints{0, 5, 0}));
    EXPECT_EQ(reals_of("1.5,-2,3E1", 3, 12, 0), (Reals{1.5f, -2.0f, 30.0f}));
    EXPECT_EQ(ints_of("12,345", 2, 2), (Ints{12, 0}));
}

TEST(NumericInputField, PositionAfterTheField) {
    std::size_t pos = 0;
    std::int32_t value = 0;
    EXPECT_EQ(read_int_field("12,345", pos, 5, value), FieldStatus::ok);
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(read_int_field("12,345", pos, 5, value), FieldStatus::ok);
    EXPECT_EQ(pos, 6u);
    EXPECT_EQ(read_int_field("12,345", pos, 5, value), FieldStatus::ok);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(pos, 6u);
}

TEST(NumericInputField, CarriageReturnEndsTheFieldAndStaysUnread) {
    std::size_t pos = 0;
    std::int32_t value = 0;
    EXPECT_EQ(read_int_field("12\r34", pos, 5, value), FieldStatus::ok);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(pos, 2u);
    EXPECT_EQ(read_int_field("12\r34", pos, 5, value), FieldStatus::ok);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(pos, 2u);
    EXPECT_EQ(real_of("1.5\r", 12, 6), 1.5f);
}

TEST(NumericInputField, PositionBeyondTheRecordReadsZero) {
    std::size_t pos = 10;
    std::int32_t value = kNotRead;
    EXPECT_EQ(read_int_field("123", pos, 3, value), FieldStatus::ok);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(pos, 10u);
}

TEST(NumericInputField, CtrlZMeansEndOfDeck) {
    EXPECT_EQ(int_status("\x1a", 3), FieldStatus::end_of_deck);
    EXPECT_EQ(int_status(" 1\x1a", 3), FieldStatus::end_of_deck);
    EXPECT_EQ(int_status("x\x1a", 3), FieldStatus::end_of_deck);
    EXPECT_EQ(real_status("  1.5\x1a", 12, 6), FieldStatus::end_of_deck);
    EXPECT_EQ(int_status("123\x1a", 3), FieldStatus::ok);
    EXPECT_EQ(int_status("1,\x1a", 3), FieldStatus::ok);
}

// ---- Integer fields -----------------------------------------------------------------

TEST(NumericInputInt, SignsAndDigits) {
    EXPECT_EQ(int_of("+5", 3), 5);
    EXPECT_EQ(int_of("-5", 3), -5);
    EXPECT_EQ(int_of("-0", 3), 0);
    EXPECT_EQ(int_of("007", 3), 7);
    EXPECT_EQ(int_of("999", 3), 999);
    EXPECT_EQ(int_of("   ", 3), 0);
}

TEST(NumericInputInt, BadCharacters) {
    EXPECT_EQ(int_status("1x", 3), FieldStatus::bad_character);
    EXPECT_EQ(int_status("1.0", 3), FieldStatus::bad_character);
    EXPECT_EQ(int_status("1E2", 3), FieldStatus::bad_character);
    EXPECT_EQ(int_status("--1", 3), FieldStatus::bad_character);
    EXPECT_EQ(int_status("1-", 3), FieldStatus::bad_character);
    EXPECT_EQ(int_status("+", 3), FieldStatus::bad_character);
    EXPECT_EQ(int_status(" - ", 3), FieldStatus::bad_character);
    EXPECT_EQ(int_status("2#1", 3), FieldStatus::bad_character);
    EXPECT_EQ(int_status("\v1", 3), FieldStatus::bad_character);
}

TEST(NumericInputInt, ThirtyTwoBitRange) {
    EXPECT_EQ(int_of("2147483647", 10), 2147483647);
    EXPECT_EQ(int_of("-2147483648", 11), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(int_of("0000000000002147483647", 22), 2147483647);
    EXPECT_EQ(int_status("2147483648", 10), FieldStatus::overflow);
    EXPECT_EQ(int_status("-2147483649", 11), FieldStatus::overflow);
    EXPECT_EQ(int_status("99999999999999999999999", 23), FieldStatus::overflow);
    EXPECT_EQ(int_status("99999999999999999999x", 21), FieldStatus::bad_character);
}

// ---- Real fields ----------------------------------------------------------------

TEST(NumericInputReal, ImpliedDecimals) {
    EXPECT_EQ(real_of("     1234567", 12, 6), 1.234567f);
    EXPECT_EQ(real_of("1234567     ", 12, 6), 1.234567f);
    EXPECT_EQ(real_of("    1.234567", 12, 6), 1.234567f);
    EXPECT_EQ(real_of("-15", 12, 3), -0.015f);
    EXPECT_EQ(real_of("15", 12, 0), 15.0f);
    EXPECT_EQ(real_of("15.", 12, 6), 15.0f);
}

TEST(NumericInputReal, ImpliedDecimalsAlsoWithAnExponent) {
    EXPECT_EQ(real_of("15E1", 12, 6), 0.00015f);
    EXPECT_EQ(real_of("1.5", 12, 6), 1.5f);
    EXPECT_EQ(real_of("1.5E1", 12, 6), 15.0f);
    EXPECT_EQ(real_of("1E39", 12, 6), 1.0e33f);
}

TEST(NumericInputReal, ExponentForms) {
    EXPECT_EQ(real_of("0.222+1", 12, 6), 2.22f);
    EXPECT_EQ(real_of("1.5-1", 12, 6), 0.15f);
    EXPECT_EQ(real_of("1.5e1", 12, 6), 15.0f);
    EXPECT_EQ(real_of("1.5D1", 12, 6), 15.0f);
    EXPECT_EQ(real_of("1.5d+1", 12, 6), 15.0f);
    EXPECT_EQ(real_of("1.5E-1", 12, 6), 0.15f);
    EXPECT_EQ(real_of("15-1", 12, 6), 1.5e-6f);
}

TEST(NumericInputReal, SignsAndPoints) {
    EXPECT_EQ(real_of("-.5", 12, 6), -0.5f);
    EXPECT_EQ(real_of("+.5", 12, 6), 0.5f);
    EXPECT_EQ(real_of("5.", 12, 6), 5.0f);
    EXPECT_EQ(real_of("0.0", 12, 6), 0.0f);
    EXPECT_TRUE(std::signbit(real_of("-0.0", 12, 6)));
    EXPECT_FALSE(std::signbit(real_of("            ", 12, 6)));
}

TEST(NumericInputReal, BadCharacters) {
    EXPECT_EQ(real_status("1.5.2", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("1.5x", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("1.5E1.0", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("1.5E1E1", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("1.5+-1", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("--1.5", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("0x10", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("inf", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("nan", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("E5", 12, 6), FieldStatus::bad_character);
}

// A number needs at least one digit in front of its exponent and one in it.
TEST(NumericInputReal, PiecesWithoutDigitsAreBad) {
    EXPECT_EQ(real_status("+", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("-", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status(".", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("-.", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("1.5E", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("1.5E+", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status("1.5+", 12, 6), FieldStatus::bad_character);
    EXPECT_EQ(real_status(".E1", 12, 6), FieldStatus::bad_character);
}

// One rounding, straight from the decimal digits to single precision. 1 + 2^-24 is
// 1.000000059604644775390625, half-way between 1 and the next float.
TEST(NumericInputReal, NearestFloatInOneRounding) {
    EXPECT_EQ(real_of("0.1", 12, 6), 0.1f);
    EXPECT_EQ(real_of("16777217.", 12, 6), 16777216.0f);
    EXPECT_EQ(real_of("16777219.", 12, 6), 16777220.0f);
    EXPECT_EQ(real_of("1.000000059604644775390625", 30, 0), 1.0f);
    EXPECT_EQ(real_of("1.000000059604644775390626", 30, 0), 1.00000012f);
    EXPECT_EQ(real_of("1.0000000596046447753906", 30, 0), 1.0f);
}

// Digits past the 25th significant one count as zeros: they move the point but never
// the value.
TEST(NumericInputReal, TwentyFiveSignificantDigits) {
    EXPECT_EQ(real_of("1.0000000596046447753906251", 30, 0), 1.0f);
    EXPECT_EQ(real_of("0001.000000059604644775390626", 30, 0), 1.00000012f);
    EXPECT_EQ(real_of("12345678901234567890123456789", 30, 0), 12345678901234567890123456789.0f);
    EXPECT_EQ(real_of("1234567890123456789012345678.9", 30, 0), 1234567890123456789012345678.9f);
    EXPECT_EQ(real_of(".0000000000000000000000000000012345", 40, 0), 1.2345e-30f);
}

// Half-way between FLT_MAX and 2^128 lies 3.40282356779733661637539395458...E38.
TEST(NumericInputReal, SinglePrecisionRange) {
    EXPECT_EQ(real_of("3.4028235E38", 20, 6), FLT_MAX);
    EXPECT_EQ(real_of("-3.4028235E38", 20, 6), -FLT_MAX);
    EXPECT_EQ(real_of("3.402823567797336616375393E38", 40, 0), FLT_MAX);
    EXPECT_EQ(real_status("3.402823567797336616375394E38", 40, 0), FieldStatus::overflow);
    EXPECT_EQ(real_of("3.40282356779733661637539396E38", 40, 0), FLT_MAX);
    EXPECT_EQ(real_status("3.5E38", 20, 6), FieldStatus::overflow);
    EXPECT_EQ(real_status("-1.E39", 20, 6), FieldStatus::overflow);
    EXPECT_EQ(real_status("1E99999999999", 20, 6), FieldStatus::overflow);
    EXPECT_EQ(real_status("1" + std::string(45, '0') + ".", 50, 0), FieldStatus::overflow);
}

// Below the smallest subnormal the nearest float is a zero of the value's sign.
TEST(NumericInputReal, TinyValuesRoundToSubnormalsOrZero) {
    EXPECT_EQ(real_of("1.E-40", 20, 6), 1.0e-40f);
    EXPECT_EQ(real_of("1.4E-45", 20, 6), std::numeric_limits<float>::denorm_min());
    EXPECT_EQ(real_of("7.006492321624085354618648E-46", 40, 0),
              std::numeric_limits<float>::denorm_min());
    EXPECT_EQ(real_of("7.006492321624085354618647E-46", 40, 0), 0.0f);
    EXPECT_EQ(real_of("1E-99999999999", 20, 6), 0.0f);
    EXPECT_FALSE(std::signbit(real_of("1E-99999999999", 20, 6)));
    EXPECT_TRUE(std::signbit(real_of("-1E-99999999999", 20, 6)));
    EXPECT_TRUE(std::signbit(real_of("-7.E-46", 20, 6)));
    EXPECT_EQ(real_of("0E99999999999", 20, 6), 0.0f);
}

// ---- Plain fields against the general reader ------------------------------------------
//
// Plain fields (blanks, sign, digits, point) take a shortcut; the general reader is the
// reference it must match in status, position and every bit of the value.

// Significands at the edge of exact conversion: 2^24 and 2^53 with their neighbours, float
// midpoints (1 + 2^-24 lies between 1.00000005 and 1.00000006; (2^24 + 1) * 2^-12, 2^25 - 1
// and (2^24 + 1) * 2^25 are midpoints written out exactly) and decimals one unit away,
// eight and nine significant digits, trailing zeros that bring a significand back into range,
// scales up to 10^10 and beyond, signed zeros, and forms that the general reader alone takes.
TEST(NumericInputPlain, EdgeFieldsMatchTheGeneralReader) {
    const char* const fields[] = {"16777216",
                                  "16777217",
                                  "16777218",
                                  "16777219",
                                  "167772.17",
                                  "-1.6777217",
                                  "1.00000006",
                                  "1.00000005",
                                  "1.000000059",
                                  "115.872879",
                                  "-43.3231635",
                                  "4096.000244140625",
                                  "4096.000244140624",
                                  "4096.000244140626",
                                  "4096.0002441406251",
                                  "33554431",
                                  "3355443.1",
                                  "562949986975744",
                                  "562949986975745",
                                  "0.1",
                                  "3.4028235",
                                  "1677721600",
                                  "16777217000",
                                  ".0000000001",
                                  "-.00000000001",
                                  "9999999999",
                                  "9007199254740992",
                                  "9007199254740993",
                                  "900719925.4740993",
                                  "9999999999999999999",
                                  "00000000000000000001",
                                  "-0",
                                  "-.000000",
                                  "+0.",
                                  "0",
                                  ".",
                                  "-",
                                  "+.",
                                  "1.2E3",
                                  "1.5-1",
                                  "1 5",
                                  "1\t5",
                                  "1.5,",
                                  "1.5\r",
                                  "\x1a",
                                  "1..5",
                                  "--1",
                                  "1-"};
    for (const char* text : fields) {
        for (const std::string& field : {std::string(text), "   " + std::string(text) + "  "}) {
            for (int w = 0; w <= 24; ++w) {
                for (int d = 0; d <= 12; ++d) {
                    EXPECT_EQ(test::reader_difference(field, 0, w, d), "");
                }
            }
        }
    }
}

// Random fields: blanks, a sign, up to 20 digits with or without a point, in a record with
// other columns before and after, now and then with a character that is not plain put in.
TEST(NumericInputPlain, RandomFieldsMatchTheGeneralReader) {
    std::mt19937 rng(2024);
    auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    constexpr std::string_view kOdd = " \t,\r\n\x1a"
                                      "EeDd+-.x0";
    for (int i = 0; i < 200000; ++i) {
        std::string field(static_cast<std::size_t>(below(4)), ' ');
        field += std::string_view("+- ").substr(static_cast<std::size_t>(below(3)), 1);
        const int digits = below(21);
        const int point = below(digits + 2); // digits + 1: no point
        for (int k = 0; k < digits; ++k) {
            if (k == point) {
                field += '.';
            }
            field += static_cast<char>('0' + (below(3) == 0 ? 0 : below(10)));
        }
        if (point == digits) {
            field += '.';
        }
        field.append(static_cast<std::size_t>(below(3)), ' ');
        if (below(4) == 0) {
            field.insert(static_cast<std::size_t>(below(static_cast<int>(field.size()) + 1)), 1,
                         kOdd[static_cast<std::size_t>(below(static_cast<int>(kOdd.size())))]);
        }
        const std::size_t start = static_cast<std::size_t>(below(3));
        const std::string record = std::string(start, '9') + field + (below(2) ? "7.5" : "");
        const int w = below(4) == 0 ? 1 + below(24) : static_cast<int>(field.size());
        ASSERT_EQ(test::reader_difference(record, start, w, below(8)), "");
    }
}

} // namespace
} // namespace tessen
