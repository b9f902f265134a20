// Reading the fields of records by a layout, with a status per field and nothing thrown.

#include "records/FieldWalker.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessen {
namespace {

// Records from a list, then none.
class ListedRecords : public RecordSupply {
  public:
    explicit ListedRecords(std::vector<std::string> records) : records_(std::move(records)) {}
    std::optional<std::string_view> next_record() override {
        if (next_ == records_.size())
            return std::nullopt;
        return records_[next_++];
    }

  private:
    std::vector<std::string> records_;
    std::size_t next_ = 0;
};

TEST(FieldWalker, EachFieldHasItsStatusAndTheWalkGoesOnPastABadOne) {
    const Layout layout("(I3,3F12.6,F12.6)");
    FieldWalker walk(layout, "  7    1.500000************      1.2.3     -.25");
    std::int32_t number = 0;
    float value = 9.0f;
    EXPECT_EQ(walk.get_int(number), FieldStatus::ok);
    EXPECT_EQ(number, 7);
    EXPECT_EQ(walk.get_real(value), FieldStatus::ok);
    EXPECT_EQ(value, 1.5f);
    EXPECT_EQ(walk.get_real(value), FieldStatus::bad_character);
    EXPECT_EQ(walk.last_field(), "************");
    EXPECT_EQ(value, 1.5f); // left as it was
    EXPECT_EQ(walk.get_real(value), FieldStatus::bad_character);
    // A short record: the last field takes what there is; past the end it is blank.
    EXPECT_EQ(walk.get_real(value), FieldStatus::ok);
    EXPECT_EQ(value, -0.25f);
    EXPECT_TRUE(walk.at_record_end());
    const Layout longer("(2I3)");
    FieldWalker short_record(longer, "  1");
    EXPECT_EQ(short_record.get_int(number), FieldStatus::ok);
    EXPECT_EQ(short_record.get_int(number), FieldStatus::ok);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(short_record.last_field(), "");
}

// Blanks of nX and the text of literals are compared with the record and passed over.
TEST(FieldWalker, TellsWhetherTheRecordShowsTheLayoutsOwnText) {
    const Layout row("(4X,I3,3X,F12.6)");
    std::int32_t number = 0;
    float value = 0;
    FieldWalker good(row, "     12       1.000000");
    EXPECT_EQ(good.get_int(number), FieldStatus::ok);
    EXPECT_EQ(good.get_real(value), FieldStatus::ok);
    EXPECT_EQ(number, 12);
    EXPECT_TRUE(good.layout_text_shown());
    FieldWalker bad(row, "   x 12       1.000000");
    EXPECT_EQ(bad.get_int(number), FieldStatus::ok);
    EXPECT_FALSE(bad.layout_text_shown());

    const Layout labelled("('  MASS=',F10.3)");
    FieldWalker label(labelled, "  MASS=    12.500");
    EXPECT_EQ(label.get_real(value), FieldStatus::ok);
    EXPECT_EQ(value, 12.5f); // the literal's columns are not part of the field
    EXPECT_TRUE(label.layout_text_shown());
    FieldWalker other(labelled, "  MASS:    12.500");
    other.get_real(value);
    EXPECT_FALSE(other.layout_text_shown());
}

TEST(FieldWalker, TakesFurtherRecordsAfterASlashAndByReversion) {
    const Layout masses("(2F6.1)");
    ListedRecords records({"   1.0   2.0   junk", "   3.0"});
    FieldWalker walk(masses, records);
    std::vector<float> got;
    float value = 0;
    while (walk.get_real(value) == FieldStatus::ok)
        got.push_back(value);
    // The rest of a record is not read; past the end of a short one a field is blank.
    EXPECT_EQ(got, std::vector<float>({1.0f, 2.0f, 3.0f, 0.0f}));
    EXPECT_EQ(walk.get_real(value), FieldStatus::end_of_deck); // and stays at the end

    const Layout two_lines("(I3,/,I3)");
    std::int32_t number = 0;
    FieldWalker alone(two_lines, "  1");
    EXPECT_EQ(alone.get_int(number), FieldStatus::ok);
    EXPECT_EQ(alone.get_int(number), FieldStatus::end_of_deck); // no supply of records
    ListedRecords second({"  2"});
    FieldWalker supplied(two_lines, "  1", &second);
    EXPECT_EQ(supplied.get_int(number), FieldStatus::ok);
    EXPECT_EQ(supplied.get_int(number), FieldStatus::ok);
    EXPECT_EQ(number, 2);
}

} // namespace
} // namespace tessen
