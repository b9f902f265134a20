#include "records/LayoutWriter.hpp"

#include "records/IntOutput.hpp"
#include "records/RealOutput.hpp"

#include <stdexcept>

namespace tessen {

namespace {

// One record under construction at a time, reused so that no write allocates.
std::string& record_buffer() {
    static std::string buffer;
    return buffer;
}

} // namespace

LayoutWriter::LayoutWriter(RecordSink& sink, const Layout& layout)
    : sink_(sink), layout_(layout), record_(record_buffer()) {
    record_.clear();
}

// Performs control items until a data item stands next; at the closing parenthesis
// with a value still to place, ends the record and reverts.
const LayoutItem& LayoutWriter::advance_to_data_item() {
    if (!layout_.has_data())
        throw std::logic_error("value given to a layout without data items");
    while (true) {
        if (perform_control_items())
            return layout_.items()[next_++];
        end_record();
        next_ = layout_.reversion_point();
    }
}

// Performs control items from the current one on; true when a data item is next,
// false at the end of the layout.
bool LayoutWriter::perform_control_items() {
    const auto& items = layout_.items();
    while (next_ < items.size()) {
        if (items[next_].is_data())
            return true;
        perform(items[next_++]);
    }
    return false;
}

void LayoutWriter::perform(const LayoutItem& item) {
    switch (item.kind) {
    case LayoutItem::Kind::skip:
        pending_ += static_cast<std::size_t>(item.width);
        break;
    case LayoutItem::Kind::literal:
        place_pending_blanks();
        record_ += item.text;
        break;
    case LayoutItem::Kind::slash:
        end_record();
        break;
    default:
        break;
    }
}

void LayoutWriter::place_pending_blanks() {
    record_.append(pending_, ' ');
    pending_ = 0;
}

// Blanks made by nX that nothing followed are dropped with the record's end.
void LayoutWriter::end_record() {
    pending_ = 0;
    sink_.put_record(record_, false);
    record_.clear();
}

LayoutWriter& LayoutWriter::put(std::int32_t value) {
    const LayoutItem& item = advance_to_data_item();
    if (item.kind != LayoutItem::Kind::integer)
        throw std::logic_error("integer value at a layout item that does not take one");
    place_pending_blanks();
    std::size_t at = record_.size();
    record_.resize(at + static_cast<std::size_t>(item.width));
    edit_int(record_.data() + at, value, item.width);
    return *this;
}

LayoutWriter& LayoutWriter::put(float value) {
    const LayoutItem& item = advance_to_data_item();
    if (item.kind != LayoutItem::Kind::real)
        throw std::logic_error("real value at a layout item that does not take one");
    place_pending_blanks();
    std::size_t at = record_.size();
    record_.resize(at + static_cast<std::size_t>(item.width));
    edit_real(record_.data() + at, value, item.width, item.decimals);
    return *this;
}

LayoutWriter& LayoutWriter::put(std::string_view text) {
    const LayoutItem& item = advance_to_data_item();
    if (item.kind != LayoutItem::Kind::text)
        throw std::logic_error("text value at a layout item that does not take one");
    place_pending_blanks();
    record_ += text;
    return *this;
}

void LayoutWriter::finish() {
    perform_control_items();
    pending_ = 0;
    sink_.put_record(record_, layout_.holds_line());
    record_.clear();
}

void write_text_record(RecordSink& sink, std::string_view text) {
    static const Layout kText("(A)");
    write_record(sink, kText, text);
}

void write_line(RecordSink& sink, std::string_view text) {
    write_line(sink, {text});
}

void write_line(RecordSink& sink, std::initializer_list<std::string_view> texts) {
    std::string& record = record_buffer();
    record.assign(1, ' ');
    for (auto t : texts)
        record += t;
    sink.put_record(record, false);
    record.clear();
}

} // namespace tessen
