#include "records/LayoutWriter.hpp"

#include "records/IntOutput.hpp"
#include "records/RealOutput.hpp"

#include <cstring>
#include <stdexcept>

namespace tessen {

LayoutWriter::LayoutWriter(RecordSink& sink, const Layout& layout)
    : sink_(sink), layout_(layout), items_(layout.items().data()),
      item_count_(layout.items().size()), plan_(layout.plan()) {}

// With a plan, a record starts as the plan's text, fields blank.
void LayoutWriter::start_planned_record() {
    const std::string& text = plan_->text;
    record_.clear();
    planned_record_ = record_.extend(text.size());
    for (std::size_t at = 0; at < text.size(); at += 16)
        std::memcpy(planned_record_ + at, text.data() + at, 16);
}

// Before the first value of a record: ends the record in hand when it is full, and
// starts the next one.
void LayoutWriter::begin_planned_record() {
    if (planned_ == plan_->fields.size()) {
        sink_.put_record({planned_record_, plan_->record_end[planned_]}, false);
        planned_ = 0;
    }
    start_planned_record();
}

// The field for the next value. The rest is out of line, so that the usual value needs
// no registers kept for calls.
inline const RecordPlan::Field& LayoutWriter::planned_field(LayoutItem::Kind kind) {
    if (planned_ == 0 || planned_ == plan_->fields.size()) [[unlikely]]
        begin_planned_record();
    const RecordPlan::Field& field = plan_->fields[planned_];
    if (field.kind != kind) [[unlikely]]
        throw std::logic_error("value of another kind than its layout item takes");
    return field;
}

// Puts back the text after a field, which its editor may have overwritten.
inline void LayoutWriter::close_planned_field(const RecordPlan::Field& field) {
    if (field.text_follows)
        std::memcpy(planned_record_ + field.end, plan_->text.data() + field.end,
                    RecordPlan::kRepair);
    ++planned_;
}

void LayoutWriter::finish_planned() {
    if (planned_ == 0)
        start_planned_record();
    sink_.put_record({planned_record_, plan_->record_end[planned_]}, layout_.holds_line());
    planned_ = 0;
    record_.clear();
}

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
    if (plan_) {
        const RecordPlan::Field& field = planned_field(LayoutItem::Kind::integer);
        edit_int_in_slack(planned_record_ + field.column, value, field.width);
        close_planned_field(field);
        return;
    }
    walk_and_put_int(value);
}

// Out of line, so that the planned path above needs no registers kept for the walk.
void LayoutWriter::walk_and_put_int(std::int32_t value) {
    const LayoutItem& item = next_data_item();
    if (item.kind != LayoutItem::Kind::integer)
        throw std::logic_error("integer value at a layout item that does not take one");
    edit_int_in_slack(extend_record(static_cast<std::size_t>(item.width)), value, item.width);
}

void LayoutWriter::put_real(float value) {
    if (plan_) {
        const RecordPlan::Field& field = planned_field(LayoutItem::Kind::real);
        edit_real_in_slack(planned_record_ + field.column, value, field.width, field.decimals);
        close_planned_field(field);
        return;
    }
    walk_and_put_real(value);
}

void LayoutWriter::walk_and_put_real(float value) {
    const LayoutItem& item = next_data_item();
    if (item.kind != LayoutItem::Kind::real)
        throw std::logic_error("real value at a layout item that does not take one");
    edit_real_in_slack(extend_record(static_cast<std::size_t>(item.width)), value, item.width,
                       item.decimals);
}

LayoutWriter& LayoutWriter::put_edited(const EditedField& field, int width, int decimals) {
    if (plan_) {
        const RecordPlan::Field& at = planned_field(LayoutItem::Kind::real);
        if (at.width != width || at.decimals != decimals || width > kRealFieldSlack)
            throw std::logic_error("edited field at a layout item that does not edit it so");
        std::memcpy(planned_record_ + at.column, field.data(), field.size());
        close_planned_field(at);
        return *this;
    }
    walk_and_put_edited(field, width, decimals);
    return *this;
}

void LayoutWriter::walk_and_put_edited(const EditedField& field, int width, int decimals) {
    const LayoutItem& item = next_data_item();
    if (item.kind != LayoutItem::Kind::real || item.width != width || item.decimals != decimals ||
        width > kRealFieldSlack)
        throw std::logic_error("edited field at a layout item that does not edit it so");
    std::memcpy(extend_record(static_cast<std::size_t>(width)), field.data(), field.size());
}

LayoutWriter& LayoutWriter::put(std::string_view text) {
    if (plan_) // a planned layout has no A item
        throw std::logic_error("text value at a layout item that does not take one");
    const LayoutItem& item = next_data_item();
    if (item.kind != LayoutItem::Kind::text)
        throw std::logic_error("text value at a layout item that does not take one");
    char* at = extend_record(text.size()); // the blanks before it, even for no text
    if (!text.empty()) // an empty view may have no data, which memcpy must not be given
        std::memcpy(at, text.data(), text.size());
    return *this;
}

void LayoutWriter::finish() {
    if (plan_) {
        finish_planned();
        return;
    }
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
