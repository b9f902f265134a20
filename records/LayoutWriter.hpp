#pragma once

#include "records/Layout.hpp"
#include "records/LayoutWalk.hpp"
#include "records/RecordBuffer.hpp"
#include "records/RecordSink.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessen {

// Room for a field edited ahead of its record (see LayoutWriter::put_edited).
using EditedField = std::array<char, kRealFieldSlack>;

// Writes records by a layout: the values are handed over one by one, each edited into
// the field that the layout gives it, and the finished records go to the sink. finish()
// ends the write: control items up to the next data item are still performed (literals
// written, records ended by /), and the current record is ended.
//
// Every value takes one path: the next field of the record in hand (its kind, width,
// decimals and column) is looked up, the value is edited at that column, and the text
// after the field is put back where the editor overwrote it. Where the fields come from
// is settled only between records: from the layout's plan, which lays out a whole record
// at once (the report's listings and lists), or, for a layout that has none, from its
// walk (LayoutWalk), which places one field at a time.
class LayoutWriter {
  public:
    LayoutWriter(RecordSink& sink, const Layout& layout);
    // The writer keeps a reference: a temporary layout would not outlive it.
    LayoutWriter(RecordSink& sink, const Layout&& layout) = delete;

    // Inline so that the field editor is the tail of the call that places a value.
    LayoutWriter& put(std::int32_t value) {
        put_int(value);
        return *this;
    }
    LayoutWriter& put(float value) {
        put_real(value);
        return *this;
    }
    LayoutWriter& put(std::string_view text);
    // A real value already edited as the next item edits it, by Fw.d with w = width and
    // d = decimals, which the item must be: the field's text is the first width bytes
    // (the rest is scratch, copied along as one store).
    LayoutWriter& put_edited(const EditedField& field, int width, int decimals);
    void finish();

  private:
    using Field = RecordPlan::Field;

    RecordSink& sink_;
    const Layout& layout_;
    const RecordPlan* plan_; // null: the fields come from the walk
    LayoutWalk walk_;
    RecordBuffer record_;  // each writer its own: writers may be alive at once
    char* text_ = nullptr; // where the record in hand lies (in record_)
    // The fields of the record in hand and the next one to fill: a plan's fields, or the
    // one field the walk has just placed. None before the first record.
    const Field* fields_ = nullptr;
    std::size_t field_count_ = 0;
    std::size_t next_ = 0;
    Field walked_; // written before it is read

    void put_int(std::int32_t value);
    void put_real(float value);
    const Field& next_field(LayoutItem::Kind kind);
    void close_field(const Field& field);
    [[gnu::noinline]] void next_record_or_field(LayoutItem::Kind kind);
    void start_planned_record();
    void place_walked_field(LayoutItem::Kind kind);
};

// A whole record written by a layout from the values given.
template <typename... Values>
void write_record(RecordSink& sink, const Layout& layout, const Values&... values) {
    LayoutWriter writer(sink, layout);
    (writer.put(values), ...);
    writer.finish();
}

// A text written whole as one record by "(A)" (titles).
void write_text_record(RecordSink& sink, std::string_view text);

// A free-form line: one blank, then the texts one after another.
void write_line(RecordSink& sink, std::string_view text = {});
void write_line(RecordSink& sink, std::initializer_list<std::string_view> texts);

} // namespace tessen
