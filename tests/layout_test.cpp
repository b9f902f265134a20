#include "records/ByteStreams.hpp"
#include "records/InputDeck.hpp"
#include "records/Layout.hpp"
#include "records/LayoutReader.hpp"
#include "records/LayoutWriter.hpp"
#include "support/Records.hpp"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessen {
namespace {

using Records = test::CollectedRecords;
using Lines = std::vector<std::string>;

TEST(LayoutParse, UnrollsRepeatsAndGroups) {
    Layout slots("(4(2I3,F12.6))");
    EXPECT_EQ(slots.items().size(), 12u);
    EXPECT_EQ(slots.reversion_point(), 0u);

    Layout block("(1X,'ATOM',I3,/,(1X,8(F9.6,1X)))");
    EXPECT_EQ(block.reversion_point(), 4u); // after 1X, 'ATOM', I3 and /
    EXPECT_EQ(block.items().size(), 4u + 1u + 16u);

    Layout plain("(4I3,4F12.6)");
    EXPECT_EQ(plain.reversion_point(), 0u);
    EXPECT_FALSE(plain.holds_line());
    EXPECT_TRUE(Layout("(2(A)\\)").holds_line());
}

TEST(LayoutParse, BlanksMeanNothingOutsideLiterals) {
    Records out;
    write_record(out, Layout(" ( 2X , ' A  B ' , I 3 ) "), std::int32_t{7});
    EXPECT_EQ(out.lines, Lines({"   A  B   7"}));
}

TEST(LayoutParse, MalformedLayoutsAreProgramFaults) {
    EXPECT_THROW(Layout("4I3"), std::logic_error);
    EXPECT_THROW(Layout("(4I3"), std::logic_error);
    EXPECT_THROW(Layout("(Q3)"), std::logic_error);
    EXPECT_THROW(Layout("('open)"), std::logic_error);
    EXPECT_THROW(Layout("(A\\,A)"), std::logic_error);
    EXPECT_THROW(Layout("(0I3)"), std::logic_error);
}

TEST(LayoutWrite, DistanceBlockRevertsToTheLastGroup) {
    Records out;
    const Layout layout("(1X,'ATOM',I3,/,(1X,8(F9.6,1X)))");
    LayoutWriter w(out, layout);
    w.put(std::int32_t{1});
    for (int k = 1; k <= 10; ++k)
        w.put(float(k));
    w.finish();
    EXPECT_EQ(
        out.lines,
        Lines({" ATOM  1",
               "  1.000000  2.000000  3.000000  4.000000  5.000000  6.000000  7.000000  8.000000",
               "  9.000000 10.000000"}));
}

TEST(LayoutWrite, SparseSlotsFourToALine) {
    Records out;
    const Layout layout("(4(2I3,F12.6))");
    LayoutWriter w(out, layout);
    for (int k = 1; k <= 5; ++k)
        w.put(std::int32_t{k}).put(std::int32_t{10 * k}).put(0.5f * float(k));
    w.finish();
    EXPECT_EQ(out.lines,
              Lines({"  1 10     .500000  2 20    1.000000  3 30    1.500000  4 40    2.000000",
                     "  5 50    2.500000"}));
}

// A layout of one record shape is written from its plan: the text between the fields
// survives the editors' stores past their fields, blanks before a literal stay, blanks
// at the end drop, and a full record ends only when another value comes.
TEST(LayoutWrite, PlannedRecordsMatchTheWalk) {
    Records out;
    const Layout layout("(2X,I2,'|',F5.1,3X,'<>',I1,F18.3,4X)");
    ASSERT_NE(layout.plan(), nullptr);
    LayoutWriter w(out, layout);
    w.put(std::int32_t{7}).put(2.5f).put(std::int32_t{-3}).put(1234.5f);
    w.put(std::int32_t{12});
    w.finish();
    write_record(out, Layout("(2I3)"), std::int32_t{1}, std::int32_t{2}, std::int32_t{3},
                 std::int32_t{4});
    // The first field's editor reaches the literal; the second field puts it back.
    const Layout gapless("(I3,I1,'#',I2)");
    write_record(out, gapless, std::int32_t{7}, std::int32_t{5}, std::int32_t{42});
    write_record(out, gapless, std::int32_t{7});
    EXPECT_EQ(out.lines, Lines({"   7|  2.5   <>*          1234.500", "  12|", "  1  2", "  3  4",
                                "  75#42", "  7"}));
    EXPECT_EQ(Layout("(1X,'ATOM',I3,/,(1X,8(F9.6,1X)))").plan(), nullptr);
    EXPECT_EQ(Layout("(I3,(F12.6))").plan(), nullptr) << "reverts to a group after a field";
}

TEST(LayoutWrite, PendingBlanksAtTheEndOfARecordAreDropped) {
    Records out;
    write_record(out, Layout("('  TOTAL MASS=',F12.6,/,2X,'CENTER OF MASS=',3(F10.6,2X))"), 18.0f,
                 0.04f, 1.0f, 0.0f);
    EXPECT_EQ(out.lines, Lines({"  TOTAL MASS=   18.000000",
                                "  CENTER OF MASS=   .040000    1.000000     .000000"}));
}

TEST(LayoutWrite, AWriteEndsAtTheFirstDataItemWithoutAValue) {
    Records out;
    write_record(out, Layout("('A',I3,'B')"));
    write_record(out, Layout("(I3,'B')"));
    write_record(out, Layout("(' HEADING')"));
    write_record(out, Layout("(I3,/,'X',I3)"), std::int32_t{5});
    EXPECT_EQ(out.lines, Lines({"A", "", " HEADING", "  5", "X"}));
}

TEST(LayoutWrite, TextIsWrittenInFull) {
    Records out;
    write_record(out, Layout("(A)"), std::string_view("TITLE     "));
    write_record(out, Layout("(1X,A)"), std::string_view(""));
    EXPECT_EQ(out.lines, Lines({"TITLE     ", " "}));
}

TEST(LayoutWrite, TrailingBackslashHoldsTheLastRecord) {
    Records out;
    write_record(out, Layout("(2(A)\\)"), std::string_view("\\Name"), std::string_view(" "));
    EXPECT_EQ(out.lines, Lines({"\\Name "}));
    EXPECT_EQ(out.held, std::vector<bool>({true}));
}

TEST(LayoutWrite, WrongKindOfValueIsAProgramFault) {
    Records out;
    const Layout layout("(I3)");
    LayoutWriter w(out, layout);
    EXPECT_THROW(w.put(1.0f), std::logic_error);
}

TEST(LayoutWrite, FreeFormLines) {
    Records out;
    write_line(out);
    write_line(out, "  IN FORMAT FOR INPUT TO KOFT");
    write_line(out, {"a", "bc", ""});
    EXPECT_EQ(out.lines, Lines({" ", "   IN FORMAT FOR INPUT TO KOFT", " abc"}));
}

// A reader over a deck held in memory.
struct Deck {
    explicit Deck(std::string text) : source(std::move(text)), deck(source, "T.DAT") {}
    MemorySource source;
    InputDeck deck;
};

TEST(LayoutRead, SixMassesARecordWithReversion) {
    Deck d("       1.5         2.5         3.5         4.5         5.5         6.5     99\n"
           "         7.5         8.5       junk\n"
           "next\n");
    const Layout layout("(6F12.6)");
    LayoutReader in(d.deck, layout);
    std::vector<float> got;
    for (int k = 0; k < 8; ++k)
        got.push_back(in.get_real());
    EXPECT_EQ(got, std::vector<float>({1.5f, 2.5f, 3.5f, 4.5f, 5.5f, 6.5f, 7.5f, 8.5f}));
    EXPECT_EQ(d.deck.next_record(), "next"); // the rest of the second record is never read
}

TEST(LayoutRead, ShortRecordReadsBlanks) {
    Deck d("  1\n");
    const Layout layout("(4I3,4F12.6)");
    LayoutReader in(d.deck, layout);
    EXPECT_EQ(in.get_int(), 1);
    EXPECT_EQ(in.get_int(), 0);
    EXPECT_EQ(in.get_int(), 0);
    EXPECT_EQ(in.get_int(), 0);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(in.get_real(), 0.0f);
}

TEST(LayoutRead, CommaEndsAFieldAndShiftsTheNextOne) {
    Deck d("1,2,3,4\n");
    const Layout layout("(4I3)");
    LayoutReader in(d.deck, layout);
    EXPECT_EQ(in.get_int(), 1);
    EXPECT_EQ(in.get_int(), 2);
    EXPECT_EQ(in.get_int(), 3);
    EXPECT_EQ(in.get_int(), 4);
}

TEST(LayoutRead, IntegerAndTextTakeTheirColumns) {
    Deck d(" -6NEW TITLE\r\n");
    const Layout layout("(I3,A)");
    LayoutReader in(d.deck, layout);
    EXPECT_EQ(in.get_int(), -6);
    std::array<char, 12> text{};
    in.get_text(text);
    EXPECT_EQ(std::string(text.data(), text.size()), "NEW TITLE   ");
}

TEST(LayoutRead, SlashAndSkip) {
    Deck d("ab 12\n 34\n");
    const Layout layout("(3X,I2,/,I3)");
    LayoutReader in(d.deck, layout);
    EXPECT_EQ(in.get_int(), 12);
    EXPECT_EQ(in.get_int(), 34);
}

} // namespace
} // namespace tessen
