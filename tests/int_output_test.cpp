#include "records/IntOutput.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace tessen {
namespace {

TEST(IntOutput, RightJustified) {
    EXPECT_EQ(edit_int(0, 3), "  0");
    EXPECT_EQ(edit_int(-1, 3), " -1");
    EXPECT_EQ(edit_int(7, 3), "  7");
    EXPECT_EQ(edit_int(999, 3), "999");
    EXPECT_EQ(edit_int(-99, 3), "-99");
    EXPECT_EQ(edit_int(1500, 6), "  1500");
    EXPECT_EQ(edit_int(0, 1), "0");
}

TEST(IntOutput, TooWideGivesAsterisks) {
    EXPECT_EQ(edit_int(1000, 3), "***");
    EXPECT_EQ(edit_int(-100, 3), "***");
    EXPECT_EQ(edit_int(-1, 1), "*");
    EXPECT_EQ(edit_int(10, 1), "*");
}

TEST(IntOutput, ExtremesOfThirtyTwoBits) {
    const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    const std::int32_t highest = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(edit_int(lowest, 11), "-2147483648");
    EXPECT_EQ(edit_int(lowest, 12), " -2147483648");
    EXPECT_EQ(edit_int(lowest, 10), "**********");
    EXPECT_EQ(edit_int(highest, 10), "2147483647");
    EXPECT_EQ(edit_int(highest, 9), "*********");
}

TEST(IntOutput, WritesExactlyWidthCharacters) {
    char buffer[8];
    std::string(sizeof buffer, '#').copy(buffer, sizeof buffer);
    EXPECT_EQ(edit_int(buffer + 1, -42, 5), buffer + 6);
    EXPECT_EQ(std::string(buffer, sizeof buffer), "#  -42##");
    EXPECT_EQ(edit_int(buffer, 5, 0), buffer);
    EXPECT_EQ(edit_int(5, 0), "");
    EXPECT_EQ(edit_int(5, -3), "");
}

// The word-at-a-time editor against the field written out by hand from std::to_string,
// for every width up to one past a word, around every power of ten and sign.
TEST(IntOutput, EveryWidthAgreesWithTheWrittenOutField) {
    std::vector<std::int32_t> values;
    for (std::int32_t v = -1100; v <= 1100; ++v)
        values.push_back(v);
    for (std::int64_t p = 10; p <= 1000000000; p *= 10) {
        for (std::int64_t v : {p - 1, p, p + 1, -p + 1, -p, -p - 1})
            values.push_back(static_cast<std::int32_t>(v));
    }
    for (int w = 1; w <= 9; ++w) {
        for (std::int32_t v : values) {
            const std::string digits = std::to_string(v);
            const std::string expected = digits.size() > static_cast<std::size_t>(w)
                                             ? std::string(static_cast<std::size_t>(w), '*')
                                             : std::string(w - digits.size(), ' ') + digits;
            ASSERT_EQ(edit_int(v, w), expected) << "I" << w;
        }
    }
}

} // namespace
} // namespace tessen
