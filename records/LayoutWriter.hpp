#pragma once

#include "records/Layout.hpp"
#include "records/RecordBuffer.hpp"
#include "records/RecordSink.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessen {

// Room for a field edited ahead of its record (see LayoutWriter::put_edited).
using EditedField = std::array<char, kRealFieldSlack>;

// Walks a layout on output: the values are handed over one by one, each formatted by
// the data item it meets, and the finished records go to the sink. finish() ends the
// write: control items up to the next data item are still performed (literals written,
// records ended by /), and the current record is ended.
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
    RecordSink& sink_;
    const Layout& layout_;
    const LayoutItem* items_; // the layout's items, walked once per value
    std::size_t item_count_;
    std::size_t next_ = 0;    // the next item of the walk
    std::size_t pending_ = 0; // blanks made by nX that nothing has followed yet
    RecordBuffer record_;     // each writer its own: writers may be alive at once
    // With a plan of the layout: the values placed in the record in hand, and where it
    // lies (in record_).
    const RecordPlan* plan_;
    std::size_t planned_ = 0;
    char* planned_record_ = nullptr;

    void put_int(std::int32_t value);
    void put_real(float value);
    [[gnu::noinline]] void walk_and_put_int(std::int32_t value);
    [[gnu::noinline]] void walk_and_put_real(float value);
    [[gnu::noinline]] void walk_and_put_edited(const EditedField& field, int width, int decimals);
    const RecordPlan::Field& planned_field(LayoutItem::Kind kind);
    void close_planned_field(const RecordPlan::Field& field);
    [[gnu::noinline]] void begin_planned_record();
    void start_planned_record();
    void finish_planned();
    const LayoutItem& next_data_item();
    const LayoutItem& walk_to_data_item();
    void perform_control_items();
    void perform(const LayoutItem& item);
    char* extend_record(std::size_t width);
    void end_record();
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
