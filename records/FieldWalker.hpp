#pragma once

#include "records/Layout.hpp"
#include "records/NumericInput.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tessen {

// Where a walk takes its further records from.
class RecordSupply {
  public:
    // The next record, valid until the next call; nothing when there is none.
    virtual std::optional<std::string_view> next_record() = 0;

  protected:
    ~RecordSupply() = default;
};

// Walks a layout on input, one field at a time, and tells what became of each field as a
// FieldStatus: nothing is thrown for a field that holds no number. The walk takes a new
// record where it needs one: at its first data item, after a /, and at the closing
// parenthesis by the reversion rule. When there is no record to take, the field's status
// is end_of_deck. Columns past the end of a short record read as blanks.
//
// The columns that the layout fills itself (nX with blanks, a literal with its text) are
// passed over; layout_text_shown() tells whether the records showed that text there, so
// that a reader of written records can tell a record of the layout from another line.
class FieldWalker {
  public:
    // A walk over the records of supply; the first is taken when the walk first needs one.
    FieldWalker(const Layout& layout, RecordSupply& supply);
    // A walk that begins on record and takes any further record from supply (none when
    // supply is null).
    FieldWalker(const Layout& layout, std::string_view record, RecordSupply* supply = nullptr);
    // The walker keeps a reference: a temporary layout would not outlive it.
    FieldWalker(const Layout&& layout, RecordSupply& supply) = delete;
    FieldWalker(const Layout&& layout, std::string_view record,
                RecordSupply* supply = nullptr) = delete;

    // value is set only when the status is ok (a blank field is 0).
    FieldStatus get_int(std::int32_t& value);
    FieldStatus get_real(float& value);
    // The field's decimal value in double precision (a report read back).
    FieldStatus get_real(double& value);
    // Fills the whole text with the next text.size() characters of the record,
    // blank-filled where the record ends first.
    FieldStatus get_text(std::span<char> text);

    // The columns of the last numeric field as they stand in the record (empty past its
    // end): asterisks, for one, are a value that was too wide for its field.
    std::string_view last_field() const { return last_field_; }
    // The columns of the last field by the layout: its 0-based start and its width.
    std::size_t last_field_start() const { return last_start_; }
    std::size_t last_field_width() const { return last_width_; }
    // The column (0-based) where the walk stands in the current record: after the last
    // field read, the first column that nothing has read yet.
    std::size_t column() const { return column_; }
    // Whether the walk has reached the end of the current record exactly.
    bool at_record_end() const { return column_ == record_.size(); }
    // Whether every column passed over so far showed what the layout writes there.
    bool layout_text_shown() const { return layout_text_shown_; }

  private:
    const Layout& layout_;
    RecordSupply* supply_;
    std::size_t next_ = 0;
    std::string_view record_;
    std::size_t column_ = 0; // 0-based position in the record
    bool need_record_ = true;
    bool layout_text_shown_ = true;
    std::string_view last_field_;
    std::size_t last_start_ = 0;
    std::size_t last_width_ = 0;

    bool take_record();
    template <typename Real> FieldStatus get_real_value(Real& value);
    template <typename Value, typename ReadField>
    FieldStatus get_number(LayoutItem::Kind kind, Value& value, ReadField read_field);
    void pass_over(std::string_view text, std::size_t width);
    FieldStatus advance_to_data_item(LayoutItem::Kind kind, const LayoutItem*& item);
};

} // namespace tessen
