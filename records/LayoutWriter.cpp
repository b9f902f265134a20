#include "records/LayoutWriter.hpp"

#include "records/IntOutput.hpp"
#include "records/RealOutput.hpp"

#include <cstring>
#include <stdexcept>

namespace tessen {

LayoutWriter::LayoutWriter(RecordSink& sink, const Layout& layout)
    : sink_(sink), layout_(layout), items_(layout.items().data()),
      item_count_(layout.items().size()) {}

// Performs control items up to the next data item and returns that item. Called once per
// value, so the usual cases are taken here: the data item is next, or it follows one nX.
inline const LayoutItem& LayoutWriter::next_data_item() {
    if (next_ < item_count_ && layout_.has_data()) {
        const LayoutItem* item = items_ + next_;
        if (item->kind == LayoutItem::Kind::skip && next_ + 1 < item_count_) {
            pending_ += static_cast<std::size_t>(item->width);
            ++next_;
            ++item;
        }
        if (item->is_data()) {
            ++next_;
            return *item;
        }
    }
    return walk_to_data_item();
}

// The walk in full: performs control items up to the next data item and returns that
// item; at the closing parenthesis, with a value still to place, ends the record and
// reverts.
const LayoutItem& LayoutWriter::walk_to_data_item() {
    if (!layout_.has_data())
        throw std::logic_error("value given to a layout without data items");
    while (true) {
        while (next_ < item_count_) {
            const LayoutItem& item = items_[next_++];
            if (item.is_data())
                return item;
            perform(item);
        }
        end_record();
        next_ = layout_.reversion_point();
    }
}

// Performs control items from the current one on, up to a data item or the end.
void LayoutWriter::perform_control_items() {
    while (next_ < item_count_ && !items_[next_].is_data())
        perform(items_[next_++]);
}

void LayoutWriter::perform(const LayoutItem& item) {
    switch (item.kind) {
    case LayoutItem::Kind::skip:
        pending_ += static_cast<std::size_t>(item.width);
        break;
    case LayoutItem::Kind::literal:
        std::memcpy(extend_record(item.text.size()), item.text.data(), item.text.size());
        break;
    case LayoutItem::Kind::slash:
        end_record();
        break;
    default:
        break;
    }
}

// Room for a field of the given width at the end of the record, after the blanks that
// nX items have made since the last field. The caller fills all of it.
char* LayoutWriter::extend_record(std::size_t width) {
    char* at = record_.extend_after_blanks(pending_, width);
    pending_ = 0;
    return at;
}

// Blanks made by nX that nothing followed are dropped with the record's end.
void LayoutWriter::end_record() {
    pending_ = 0;
    sink_.put_record(record_.view(), false);
    record_.clear();
}

void LayoutWriter::put_int(std::int32_t value) {
    const LayoutItem& item = next_data_item();
    if (item.kind != LayoutItem::Kind::integer)
        throw std::logic_error("integer value at a layout item that does not take one");
    edit_int_in_slack(extend_record(static_cast<std::size_t>(item.width)), value, item.width);
}

void LayoutWriter::put_real(float value) {
    const LayoutItem& item = next_data_item();
    if (item.kind != LayoutItem::Kind::real)
        throw std::logic_error("real value at a layout item that does not take one");
    edit_real_in_slack(extend_record(static_cast<std::size_t>(item.width)), value, item.width,
                       item.decimals);
}

LayoutWriter& LayoutWriter::put(std::span<const float> values) {
    for (float value : values)
        put_real(value);
    return *this;
}

LayoutWriter& LayoutWriter::put_edited(const EditedField& field, int width, int decimals) {
    const LayoutItem& item = next_data_item();
    if (item.kind != LayoutItem::Kind::real || item.width != width || item.decimals != decimals ||
        width > kRealFieldSlack)
        throw std::logic_error("edited field at a layout item that does not edit it so");
    std::memcpy(extend_record(static_cast<std::size_t>(width)), field.data(), field.size());
    return *this;
}

LayoutWriter& LayoutWriter::put(std::string_view text) {
    const LayoutItem& item = next_data_item();
    if (item.kind != LayoutItem::Kind::text)
        throw std::logic_error("text value at a layout item that does not take one");
    char* at = extend_record(text.size()); // the blanks before it, even for no text
    if (!text.empty()) // an empty view may have no data, which memcpy must not be given
        std::memcpy(at, text.data(), text.size());
    return *this;
}

void LayoutWriter::finish() {
    perform_control_items();
    pending_ = 0;
    sink_.put_record(record_.view(), layout_.holds_line());
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
    RecordBuffer record;
    record.append(" ");
    for (auto t : texts)
        record.append(t);
    sink.put_record(record.view(), false);
}

} // namespace tessen
