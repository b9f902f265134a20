#include "records/FieldWalker.hpp"

#include <algorithm>
#include <stdexcept>

namespace tessen {

namespace {

void require_data(const Layout& layout) {
    if (!layout.has_data())
        throw std::logic_error("input layout without data items");
}

} // namespace

FieldWalker::FieldWalker(const Layout& layout, RecordSupply& supply)
    : layout_(layout), supply_(&supply) {
    require_data(layout_);
}

FieldWalker::FieldWalker(const Layout& layout, std::string_view record, RecordSupply* supply)
    : layout_(layout), supply_(supply), record_(record), need_record_(false) {
    require_data(layout_);
}

// The walk takes a record where it first needs one: at its start, and after a / or a
// reversion. False when there is none to take.
bool FieldWalker::take_record() {
    if (!need_record_)
        return true;
    std::optional<std::string_view> record =
        supply_ ? supply_->next_record() : std::optional<std::string_view>();
    if (!record)
        return false;
    record_ = *record;
    column_ = 0;
    need_record_ = false;
    return true;
}

// Columns the layout fills itself: compared with what it writes there (the literal's
// text, or blanks when text is empty), then passed over.
void FieldWalker::pass_over(std::string_view text, std::size_t width) {
    for (std::size_t k = 0; k < width; ++k, ++column_) {
        const char expected = k < text.size() ? text[k] : ' ';
        const char shown = column_ < record_.size() ? record_[column_] : ' ';
        layout_text_shown_ = layout_text_shown_ && shown == expected;
    }
}

FieldStatus FieldWalker::advance_to_data_item(LayoutItem::Kind kind, const LayoutItem*& item) {
    const auto& items = layout_.items();
    while (true) {
        if (next_ == items.size()) {
            // Variables still to fill at the closing parenthesis: next record, reversion.
            need_record_ = true;
            next_ = layout_.reversion_point();
            continue;
        }
        const LayoutItem& at = items[next_++];
        if (at.kind == LayoutItem::Kind::slash) {
            need_record_ = true;
            continue;
        }
        if (!take_record())
            return FieldStatus::end_of_deck;
        if (at.kind == LayoutItem::Kind::skip) {
            pass_over({}, static_cast<std::size_t>(at.width));
        } else if (at.kind == LayoutItem::Kind::literal) {
            pass_over(at.text, at.text.size());
        } else {
            if (at.kind != kind)
                throw std::logic_error("variable at a layout item that does not take it");
            item = &at;
            return FieldStatus::ok;
        }
    }
}

// One numeric field: the walk to its item, its columns, and read_field(record, column,
// item) to read it. Past the end of a short record the field is blank: 0.
template <typename Value, typename ReadField>
FieldStatus FieldWalker::get_number(LayoutItem::Kind kind, Value& value, ReadField read_field) {
    const LayoutItem* item = nullptr;
    last_field_ = {};
    const auto& items = layout_.items();
    if (!need_record_ && next_ < items.size() && items[next_].kind == kind) {
        // The common case: the field follows on the record at hand, with nothing between.
        item = &items[next_++];
    } else if (FieldStatus status = advance_to_data_item(kind, item); status != FieldStatus::ok) {
        return status;
    }
    last_start_ = column_;
    last_width_ = static_cast<std::size_t>(item->width);
    if (column_ >= record_.size()) {
        value = 0;
        return FieldStatus::ok;
    }
    const std::size_t start = column_;
    const FieldStatus status = read_field(*item, value);
    last_field_ = record_.substr(start, column_ - start);
    return status;
}

FieldStatus FieldWalker::get_int(std::int32_t& value) {
    return get_number(LayoutItem::Kind::integer, value,
                      [this](const LayoutItem& item, std::int32_t& v) {
                          return read_int_field(record_, column_, item.width, v);
                      });
}

FieldStatus FieldWalker::get_real(float& value) {
    return get_real_value(value);
}

FieldStatus FieldWalker::get_real(double& value) {
    return get_real_value(value);
}

template <typename Real> FieldStatus FieldWalker::get_real_value(Real& value) {
    return get_number(LayoutItem::Kind::real, value, [this](const LayoutItem& item, Real& v) {
        return read_real_field(record_, column_, item.width, item.decimals, v);
    });
}

FieldStatus FieldWalker::get_text(std::span<char> text) {
    const LayoutItem* item = nullptr;
    last_field_ = {};
    if (FieldStatus status = advance_to_data_item(LayoutItem::Kind::text, item);
        status != FieldStatus::ok)
        return status;
    std::size_t from = std::min(column_, record_.size());
    std::size_t n = std::min(text.size(), record_.size() - from);
    std::copy_n(record_.data() + from, n, text.data());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
    column_ += text.size();
    return FieldStatus::ok;
}

} // namespace tessen
