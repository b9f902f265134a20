// The record under construction: RecordBuffer on its own, and the layout writer's
// records where they outgrow the buffer, where blanks come before a field, and where a
// row of values is handed over at once.

#include "records/Layout.hpp"
#include "records/LayoutWriter.hpp"
#include "records/RealOutput.hpp"
#include "records/RecordBuffer.hpp"
#include "support/Records.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace tessen {
namespace {

using Records = test::CollectedRecords;
using Lines = std::vector<std::string>;

// The buffer grows many times over while fields of every width and every count of
// blanks before them are added; the text must be what a plain string makes of the same
// steps, the blanks' eight-byte store never showing past the end of the record.
TEST(RecordBuffer, GrowsAndPlacesBlanksLikeAPlainString) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> blanks(0, 20);
    std::uniform_int_distribution<int> width(0, 30);
    RecordBuffer buffer;
    std::string expected;
    for (int field = 0; field < 2000; ++field) {
        const std::size_t b = static_cast<std::size_t>(blanks(rng));
        const std::size_t w = static_cast<std::size_t>(width(rng));
        const char c = static_cast<char>('a' + field % 26);
        std::memset(buffer.extend_after_blanks(b, w), c, w);
        expected.append(b, ' ').append(w, c);
        ASSERT_EQ(buffer.view(), expected) << "after field " << field;
    }
    EXPECT_GT(expected.size(), 10000u) << "the buffer did not have to grow";
    buffer.clear();
    EXPECT_TRUE(buffer.view().empty());
    buffer.append("again");
    EXPECT_EQ(buffer.view(), "again");
}

// Each writer owns its record: two writers alive at once never see each other's fields,
// and a free-form line written between their values leaves both alone.
TEST(LayoutWrite, WritersAliveAtOnceKeepTheirOwnRecords) {
    const Layout layout("(2I4)");
    Records sink;
    LayoutWriter a(sink, layout);
    a.put(1);
    {
        LayoutWriter b(sink, layout);
        b.put(2);
        write_line(sink, "between");
        b.put(4);
        b.finish();
    }
    a.put(3);
    a.finish();
    EXPECT_EQ(sink.lines, Lines({" between", "   2   4", "   1   3"}));
}

TEST(LayoutWrite, RecordsLongerThanTheFirstBuffer) {
    Records out;
    const std::string title(1000, 'T');
    write_record(out, Layout("(A,30X,I3,'END')"), std::string_view(title), std::int32_t{42});
    write_line(out, {std::string(700, 'x'), std::string(700, 'y')});
    ASSERT_EQ(out.lines.size(), 2u);
    EXPECT_EQ(out.lines[0], title + std::string(30, ' ') + " 42END");
    EXPECT_EQ(out.lines[1], " " + std::string(700, 'x') + std::string(700, 'y'));
}

// Wide skips (more than eight blanks), skips before a literal, and skips that nothing
// follows, which the record's end drops.
TEST(LayoutWrite, SkipsOfEveryWidthBeforeFieldsAndLiterals) {
    Records out;
    write_record(out, Layout("(12X,I2,1X,'A',9X,F5.2,3X)"), std::int32_t{5}, 1.5f);
    write_record(out, Layout("(2X,'B',4X)"));
    const std::string first = std::string(12, ' ') + " 5" + " A" + std::string(9, ' ') + " 1.50";
    EXPECT_EQ(out.lines, Lines({first, "  B"}));
}

} // namespace
} // namespace tessen
