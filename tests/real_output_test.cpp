#include "records/RealOutput.hpp"
#include "records/RealOutputExact.hpp"
#include "records/RecurringFields.hpp"
#include "sweep/RealComparison.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace tessen {
namespace {

// Every expectation below holds for both editors: the fast one and the digit-by-digit
// reference.
struct Editor {
    const char* name;
    std::string (*edit)(float, int, int);
};

void PrintTo(const Editor& editor, std::ostream* out) {
    *out << editor.name;
}

class RealOutput : public ::testing::TestWithParam<Editor> {
  protected:
    static std::string edit_real(float x, int w, int d) { return GetParam().edit(x, w, d); }
};

INSTANTIATE_TEST_SUITE_P(Fast, RealOutput,
                         ::testing::Values(Editor{"edit_real", &tessen::edit_real}));
INSTANTIATE_TEST_SUITE_P(Exact, RealOutput,
                         ::testing::Values(Editor{"edit_real_exact", &tessen::edit_real_exact}));

TEST_P(RealOutput, FieldsOfSixDecimals) {
    EXPECT_EQ(edit_real(0.5f, 12, 6), "     .500000");
    EXPECT_EQ(edit_real(-0.5f, 12, 6), "    -.500000");
    EXPECT_EQ(edit_real(0.0f, 12, 6), "     .000000");
    EXPECT_EQ(edit_real(-0.0f, 12, 6), "     .000000");
    EXPECT_EQ(edit_real(-4.0e-7f, 12, 6), "     .000000");
    EXPECT_EQ(edit_real(1.0078125f, 12, 6), "    1.007813");
    EXPECT_EQ(edit_real(123.4567f, 12, 6), "  123.456700");
    EXPECT_EQ(edit_real(15.994915f, 12, 6), "   15.994920");
    EXPECT_EQ(edit_real(-1234.5678f, 12, 6), "-1234.568000");
    EXPECT_EQ(edit_real(12345.678f, 12, 6), "12345.680000");
    EXPECT_EQ(edit_real(123456.7f, 12, 6), "************");
    EXPECT_EQ(edit_real(1.5f, 9, 6), " 1.500000");
    EXPECT_EQ(edit_real(10.0f, 9, 6), "10.000000");
    EXPECT_EQ(edit_real(-10.0f, 9, 6), "*********");
    EXPECT_EQ(edit_real(10.5f, 9, 6), "10.500000");
    EXPECT_EQ(edit_real(-10.5f, 9, 6), "*********");
}

// The decimal digits come from the exact binary value, not from the literal in the
// source: 5e-7f is 4.99999998...e-7 and 99999.99f is 99999.9921875.
TEST_P(RealOutput, DigitsOfTheExactBinaryValue) {
    EXPECT_EQ(edit_real(5.0e-7f, 12, 6), "     .000000");
    EXPECT_EQ(edit_real(5.1e-7f, 12, 6), "     .000001");
    EXPECT_EQ(edit_real(99999.99f, 12, 6), "99999.990000");
    EXPECT_EQ(edit_real(0.15f, 5, 1), "   .2");
    EXPECT_EQ(edit_real(0.9999994f, 12, 6), "     .999999");
}

TEST_P(RealOutput, SignOnlyWhenADigitShows) {
    EXPECT_EQ(edit_real(-5.0e-7f, 12, 6), "     .000000");
    EXPECT_EQ(edit_real(-5.1e-7f, 12, 6), "    -.000001");
    EXPECT_EQ(edit_real(-1.0e-30f, 12, 6), "     .000000");
    EXPECT_EQ(edit_real(-0.04f, 4, 1), "  .0");
    EXPECT_EQ(edit_real(-0.4f, 5, 0), "   0.");
    EXPECT_EQ(edit_real(-0.5f, 5, 0), "  -1.");
}

TEST_P(RealOutput, AtMostSevenSignificantDigits) {
    EXPECT_EQ(edit_real(1234567.0f, 15, 6), " 1234567.000000");
    EXPECT_EQ(edit_real(12345678.0f, 16, 6), " 12345680.000000");
    EXPECT_EQ(edit_real(16777215.0f, 16, 6), " 16777220.000000");
    EXPECT_EQ(edit_real(-123.45678f, 12, 6), " -123.456800");
    EXPECT_EQ(edit_real(1.0e10f, 20, 6), "  10000000000.000000");
    EXPECT_EQ(edit_real(FLT_MAX, 50, 6), "    340282300000000000000000000000000000000.000000");
}

TEST_P(RealOutput, CarryThroughNines) {
    EXPECT_EQ(edit_real(0.9999995f, 12, 6), "    1.000000");
    EXPECT_EQ(edit_real(-0.9999995f, 12, 6), "   -1.000000");
    EXPECT_EQ(edit_real(9.999999f, 9, 6), " 9.999999");
    EXPECT_EQ(edit_real(9.999999f, 8, 5), "10.00000");
    EXPECT_EQ(edit_real(9.999999f, 7, 5), "*******");
    EXPECT_EQ(edit_real(0.05f, 4, 1), "  .1");
    EXPECT_EQ(edit_real(0.5f, 5, 0), "   1.");
    EXPECT_EQ(edit_real(2.5f, 5, 0), "   3.");
}

TEST_P(RealOutput, NoDecimals) {
    EXPECT_EQ(edit_real(0.0f, 2, 0), "0.");
    EXPECT_EQ(edit_real(0.4f, 5, 0), "   0.");
    EXPECT_EQ(edit_real(7.0f, 2, 0), "7.");
    EXPECT_EQ(edit_real(0.0f, 1, 0), "*");
}

TEST_P(RealOutput, ManyDecimals) {
    EXPECT_EQ(edit_real(0.1f, 14, 12), " .100000000000");
    EXPECT_EQ(edit_real(0.123456789f, 14, 12), " .123456800000");
    EXPECT_EQ(edit_real(1.0e-40f, 52, 50), " ." + std::string(40, '0') + "9999946000");
    EXPECT_EQ(edit_real(0.5f, 7, 6), ".500000");
    EXPECT_EQ(edit_real(0.5f, 6, 6), "******");
}

TEST_P(RealOutput, NotANumberFillsTheField) {
    EXPECT_EQ(edit_real(std::numeric_limits<float>::quiet_NaN(), 12, 6), "************");
    EXPECT_EQ(edit_real(std::numeric_limits<float>::infinity(), 9, 6), "*********");
    EXPECT_EQ(edit_real(-std::numeric_limits<float>::infinity(), 4, 1), "****");
}

TEST(RealOutputBuffer, WritesExactlyWidthCharacters) {
    char buffer[16];
    std::string(sizeof buffer, '#').copy(buffer, sizeof buffer);
    EXPECT_EQ(edit_real(buffer + 1, -0.5f, 9, 6), buffer + 10);
    EXPECT_EQ(std::string(buffer, sizeof buffer), "# -.500000######");
    EXPECT_EQ(edit_real(buffer + 1, 3.0e30f, 4, 1), buffer + 5);
    EXPECT_EQ(std::string(buffer, sizeof buffer), "#****00000######");
    EXPECT_EQ(edit_real(buffer, 1.0f, 0, 6), buffer);
    EXPECT_EQ(edit_real(1.0f, 0, 6), "");
    EXPECT_EQ(edit_real(1.0f, -2, 6), "");
}

// ---- The fast editor against the digit-by-digit one --------------------------------
// Every float below 2^24 is compared by `make sweep`; here a sample.

using test::compare_range;
using test::kProgramRealFormats;
using test::real_mismatch;

std::uint32_t bits_of(float x) {
    return std::bit_cast<std::uint32_t>(x);
}

// Every 97th float of [1,2), [64,128) and from 0.5e-6 up to 1e-6, positive and negative.
TEST(RealOutputFastPath, MatchesExactOnSampledBinades) {
    const std::uint32_t ranges[][2] = {{bits_of(1.0f), bits_of(2.0f)},
                                       {bits_of(64.0f), bits_of(128.0f)},
                                       {bits_of(0.5e-6f), bits_of(1.0e-6f)}};
    for (const auto& r : ranges) {
        for (const std::uint32_t sign : {0u, 0x80000000u}) {
            int shown = 0;
            const std::uint64_t differing =
                compare_range(r[0] | sign, r[1] | sign, 97, kProgramRealFormats,
                              [&](std::uint32_t, const std::string& text) {
                                  if (shown++ < 5) {
                                      ADD_FAILURE() << text;
                                  }
                              });
            EXPECT_EQ(differing, 0u);
        }
    }
}

TEST(RealOutputFastPath, MatchesExactOnRandomBitPatterns) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::uint32_t> any_bits;
    std::uniform_int_distribution<int> any_decimals(0, 10);
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t bits = any_bits(random);
        for (const test::RealFormat f : kProgramRealFormats) {
            ASSERT_EQ(real_mismatch(bits, f), "");
        }
        ASSERT_EQ(real_mismatch(bits, {20, any_decimals(random)}), "");
    }
}

// Values of typical size: magnitudes below 2^24, where the fast editor does the work.
TEST(RealOutputFastPath, MatchesExactOnRandomModerateValues) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> moderate_bits(0, bits_of(16777216.0f));
    std::uniform_int_distribution<int> any_decimals(0, 8);
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t bits = moderate_bits(random) | (i % 2 == 0 ? 0u : 0x80000000u);
        ASSERT_EQ(real_mismatch(bits, {12, 6}), "");
        ASSERT_EQ(real_mismatch(bits, {20, any_decimals(random)}), "");
    }
}

} // namespace
} // namespace tessen

namespace tessen {
namespace {

// The cache of recurring fields gives the editor's text, whatever came before: the same
// value in other widths, -0 and 0, and more values than it holds, over and over.
TEST(RecurringFields, GiveTheEditorsText) {
    std::mt19937 gen(5);
    std::uniform_int_distribution<int> pick(0, 199);
    std::vector<float> values;
    for (int k = 0; k < 200; ++k)
        values.push_back(k % 50 == 0 ? -0.0f : 1.0f + 0.37f * float(k % 100) * (k < 100 ? 1 : -1));
    values[1] = 0.0f;
    for (int round = 0; round < 5000; ++round) {
        const float v = values[static_cast<std::size_t>(pick(gen))];
        for (const auto& [w, d] : {std::pair{13, 6}, std::pair{12, 6}, std::pair{9, 2}}) {
            const EditedField field = recurring_field(v, w, d);
            ASSERT_EQ(std::string(field.data(), static_cast<std::size_t>(w)), edit_real(v, w, d))
                << v << " in F" << w << "." << d;
        }
    }
}

} // namespace
} // namespace tessen
