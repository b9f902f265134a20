#include "records/LayoutWriter.hpp"

#include "records/IntOutput.hpp"
#include "records/RealOutput.hpp"

#include <cstring>
#include <stdexcept>

namespace tessen {

LayoutWriter::LayoutWriter(RecordSink& sink, const Layout& layout)
    : sink_(sink), layout_(layout), plan_(layout.plan()), walk_(layout) {}

// The field for the next value. Between records the fields are settled out of line, so
// that the usual value needs no registers kept for calls.
inline const LayoutWriter::Field& LayoutWriter::next_field(LayoutItem::Kind kind) {
    if (next_ == field_count_) [[unlikely]]
        next_record_or_field(kind);
    const Field& field = fields_[next_];
    if (field.kind != kind) [[unlikely]]
        throw std::logic_error("value of another kind than its layout item takes");
    return field;
}

// Puts back the text after a field, which its editor may have overwritten (a walked
// field has none yet: what follows it is written after it).
inline void LayoutWriter::close_field(const Field& field) {
    if (field.text_follows)
        std::memcpy(text_ + field.end, plan_->text.data() + field.end, RecordPlan::kRepair);
    ++next_;
}

// With a plan: ends the record in hand, which is full, and starts the next one. Without:
// walks to the next field.
void LayoutWriter::next_record_or_field(LayoutItem::Kind kind) {
    if (!plan_) {
        place_walked_field(kind);
        return;
    }
    if (field_count_ != 0)
        sink_.put_record({text_, plan_->record_end[field_count_]}, false);
    start_planned_record();
}

// A planned record starts as the plan's text, fields blank.
void LayoutWriter::start_planned_record() {
    const std::string& text = plan_->text;
    record_.clear();
    text_ = record_.extend(text.size());
    for (std::size_t at = 0; at < text.size(); at += 16)
        std::memcpy(text_ + at, text.data() + at, 16);
    fields_ = plan_->fields.data();
    field_count_ = plan_->fields.size();
    next_ = 0;
}

// The walk's next data item becomes the one field of the record in hand.
void LayoutWriter::place_walked_field(LayoutItem::Kind kind) {
    const LayoutItem& item = walk_.next_data_item(record_, sink_);
    if (item.kind != kind)
        throw std::logic_error("value of another kind than its layout item takes");
    const auto width = static_cast<std::size_t>(item.width);
    const char* at = walk_.place(record_, width);
    text_ = record_.data();
    const auto column = static_cast<std::size_t>(at - text_);
    walked_ = {item.kind, item.width, item.decimals, column, column + width, false};
    fields_ = &walked_;
    field_count_ = 1;
    next_ = 0;
}

void LayoutWriter::put_int(std::int32_t value) {
    const Field& field = next_field(LayoutItem::Kind::integer);
    edit_int_in_slack(text_ + field.column, value, field.width);
    close_field(field);
}

void LayoutWriter::put_real(float value) {
    const Field& field = next_field(LayoutItem::Kind::real);
    edit_real_in_slack(text_ + field.column, value, field.width, field.decimals);
    close_field(field);
}

LayoutWriter& LayoutWriter::put_edited(const EditedField& edited, int width, int decimals) {
    const Field& field = next_field(LayoutItem::Kind::real);
    if (field.width != width || field.decimals != decimals || width > kRealFieldSlack)
        throw std::logic_error("edited field at a layout item that does not edit it so");
    std::memcpy(text_ + field.column, edited.data(), edited.size());
    close_field(field);
    return *this;
}

// Only a walked layout has A items; a text is as wide as it is.
LayoutWriter& LayoutWriter::put(std::string_view text) {
    if (plan_)
        throw std::logic_error("text value at a layout item that does not take one");
    const LayoutItem& item = walk_.next_data_item(record_, sink_);
    if (item.kind != LayoutItem::Kind::text)
        throw std::logic_error("text value at a layout item that does not take one");
    char* at = walk_.place(record_, text.size()); // the blanks before it, even for no text
    if (!text.empty()) // an empty view may have no data, which memcpy must not be given
        std::memcpy(at, text.data(), text.size());
    return *this;
}

void LayoutWriter::finish() {
    std::string_view record;
    if (plan_) {
        if (field_count_ == 0)
            start_planned_record();
        record = {text_, plan_->record_end[next_]};
    } else {
        walk_.finish(record_, sink_);
        record = record_.view();
    }
    sink_.put_record(record, layout_.holds_line());
    record_.clear();
    fields_ = nullptr;
    field_count_ = 0;
    next_ = 0;
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
