#include "records/Console.hpp"
#include "records/LayoutWriter.hpp"
#include "support/ScriptedInput.hpp"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <sstream>
#include <vector>

namespace tessen {
namespace {

using test::ScriptedInput;

struct ConsoleFixture : ::testing::Test {
    std::ostringstream out;
    ScriptedInput in{{std::string("WATER.DAT"), std::nullopt, std::string("A.DAT\r")}};
    Console console{out, in};
};

TEST_F(ConsoleFixture, AdvanceCharacterIsNotShownAndLinesEndBeforeTheNextRecord) {
    console.put_record(" first", false);
    console.put_record(" ", false);
    console.put_record("xthird", false);
    console.end_open_line();
    EXPECT_EQ(out.str(), "first\r\n\r\nthird\r\n");
}

TEST_F(ConsoleFixture, OtherAdvanceCharacters) {
    console.put_record(" a", false);
    console.put_record("0b", false);
    console.put_record("+c", false);
    console.end_open_line();
    console.put_record("0d", false);
    EXPECT_EQ(out.str(), "a\r\n\r\nb\rc\r\n\r\nd");
}

TEST_F(ConsoleFixture, HeldPromptIsContinuedByTheWholeNextRecord) {
    console.put_record("\\Name? ", true);
    console.put_record(" more", false);
    console.put_record(" next", false);
    EXPECT_EQ(out.str(), "Name?  more\r\nnext");
}

TEST_F(ConsoleFixture, ReadAfterAHeldPromptWritesNothingAndLeavesNoLineOpen) {
    std::array<char, 12> name{};
    console.put_record("\\Name? ", true);
    ASSERT_EQ(console.read_text(name), 0);
    EXPECT_EQ(std::string(name.data(), 12), "WATER.DAT   ");
    console.put_record(" after", false);
    EXPECT_EQ(out.str(), "Name? after");
}

TEST_F(ConsoleFixture, ReadEndsAnOpenLineThatIsNotHeld) {
    std::array<char, 12> name{};
    console.put_record(" open", false);
    ASSERT_EQ(console.read_text(name), 0);
    EXPECT_EQ(out.str(), "open\r\n");
}

TEST_F(ConsoleFixture, FailedReadKeepsTheLineOpenButNoLongerHeld) {
    std::array<char, 12> name{};
    ASSERT_EQ(console.read_text(name), 0);
    console.put_record("\\Name? ", true);
    EXPECT_NE(console.read_text(name), 0);
    EXPECT_EQ(std::string(name.data(), 12), "WATER.DAT   "); // untouched by the failed read
    console.put_record(" ERROR", false);
    EXPECT_EQ(out.str(), "Name? \r\nERROR");
}

TEST_F(ConsoleFixture, TypedCarriageReturnIsNoPartOfTheName) {
    std::array<char, 12> name{};
    console.read_text(name);
    console.read_text(name);
    ASSERT_EQ(console.read_text(name), 0);
    EXPECT_EQ(std::string(name.data(), 12), "A.DAT       ");
}

TEST_F(ConsoleFixture, StopMessageEndsTheOpenLineFirst) {
    console.put_record(" text", false);
    console.stop_message();
    EXPECT_EQ(out.str(), "text\r\nStop - Program terminated.\r\n");
}

TEST(Console, StopMessageOnAFreshLine) {
    std::ostringstream out;
    ScriptedInput in({});
    Console console(out, in);
    console.stop_message();
    EXPECT_EQ(out.str(), "Stop - Program terminated.\r\n");
}

TEST(Console, LongTypedLineGivesItsFirstTwelveCharacters) {
    std::ostringstream out;
    ScriptedInput in({std::string("ABCDEFGHIJKLMNOP")});
    Console console(out, in);
    std::array<char, 12> name{};
    ASSERT_EQ(console.read_text(name), 0);
    EXPECT_EQ(std::string(name.data(), 12), "ABCDEFGHIJKL");
}

} // namespace
} // namespace tessen
