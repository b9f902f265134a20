#pragma once

#include "records/LayoutItem.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tessen {

// A layout laid out ahead for records of one shape. When a layout holds only Iw, Fw.d,
// nX and literals (no A, no /) and its walk reverts to its beginning, every data item
// stands at a fixed column of its record and the text around the fields is the same in
// every record: a writer copies that text and edits each value at its column, with no
// walk. What it writes is what the walk writes: the blanks of nX where something
// follows, the literals, and a record that ends where the walk would end it.
struct RecordPlan {
    struct Field {
        LayoutItem::Kind kind; // integer or real
        int width;
        int decimals;
        std::size_t column; // where the field begins in its record
        std::size_t end;    // column + width
        bool text_follows;  // blanks or a literal between this field and the next
    };
    // A field editor may store up to this many bytes from the field's column on: into
    // later fields, which their own values overwrite; into text between later fields,
    // which those fields put back; or past the end of a record that ends before them.
    // So only a field with text right after it puts that text back, with one copy of
    // this many bytes from the plan's text.
    static constexpr std::size_t kRepair = 16;

    std::vector<Field> fields; // the data items of one record, in order
    // The length of a record ended after k values, k = 0 .. fields.size(): up to the
    // last literal that the walk performs before it would need value k + 1.
    std::vector<std::size_t> record_end;
    // A record with every field blank and the literals in place, then blanks, in whole
    // sixteen-byte blocks and at least kRepair past the record's last column.
    std::string text;

    // The plan of a layout's items, or none when its records do not all have one shape.
    static std::optional<RecordPlan> of(const std::vector<LayoutItem>& items,
                                        std::size_t reversion);
};

} // namespace tessen
