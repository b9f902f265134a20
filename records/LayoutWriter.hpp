#pragma once

#include "records/Layout.hpp"
#include "records/RecordSink.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace tessen {

// Walks a layout on output: the values are handed over one by one, each formatted by
// the data item it meets, and the finished records go to the sink. finish() ends the
// write: control items up to the next data item are still performed (literals written,
// records ended by /), and the current record is ended.
class LayoutWriter {
  public:
    LayoutWriter(RecordSink& sink, const Layout& layout);
    // The writer keeps a reference: a temporary layout would not outlive it.
    LayoutWriter(RecordSink& sink, const Layout&& layout) = delete;

    LayoutWriter& put(std::int32_t value);
    LayoutWriter& put(float value);
    LayoutWriter& put(std::string_view text);
    void finish();

  private:
    RecordSink& sink_;
    const Layout& layout_;
    std::size_t next_ = 0;    // the next item of the walk
    std::size_t pending_ = 0; // blanks made by nX that nothing has followed yet
    std::string& record_;

    const LayoutItem& advance_to_data_item();
    bool perform_control_items();
    void perform(const LayoutItem& item);
    void place_pending_blanks();
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
