#include "records/LayoutReader.hpp"

#include "records/Diagnostic.hpp"
#include "records/NumericInput.hpp"

#include <algorithm>
#include <stdexcept>

namespace tessen {

LayoutReader::LayoutReader(InputDeck& deck, const Layout& layout) : deck_(deck), layout_(layout) {
    if (!layout_.has_data())
        throw std::logic_error("input layout without data items");
}

// The walk reads a record where it first needs one: at its start, and after a / or a
// reversion.
void LayoutReader::ensure_record() {
    if (!need_record_)
        return;
    record_ = deck_.next_record();
    column_ = 0;
    need_record_ = false;
}

const LayoutItem& LayoutReader::advance_to_data_item(LayoutItem::Kind kind) {
    const auto& items = layout_.items();
    while (true) {
        if (next_ == items.size()) {
            // Variables still to fill at the closing parenthesis: next record, reversion.
            need_record_ = true;
            next_ = layout_.reversion_point();
            continue;
        }
        const LayoutItem& item = items[next_++];
        if (item.kind == LayoutItem::Kind::slash) {
            need_record_ = true;
        } else if (item.kind == LayoutItem::Kind::skip) {
            ensure_record();
            column_ += static_cast<std::size_t>(item.width);
        } else if (item.is_data()) {
            if (item.kind != kind)
                throw std::logic_error("variable at a layout item that does not take it");
            ensure_record();
            return item;
        }
    }
}

namespace {

// Ends the run for a numeric field that could not be read.
void check_field(const InputDeck& deck, FieldStatus status) {
    switch (status) {
    case FieldStatus::ok:
        return;
    case FieldStatus::bad_character:
        deck.fail(ErrorKind::bad_field);
    case FieldStatus::overflow:
        deck.fail(ErrorKind::input_overflow);
    case FieldStatus::end_of_deck:
        deck.fail(ErrorKind::end_of_file);
    }
}

} // namespace

std::int32_t LayoutReader::get_int() {
    const LayoutItem& item = advance_to_data_item(LayoutItem::Kind::integer);
    std::int32_t value = 0;
    if (column_ >= record_.size()) // past the end of a short record: a blank field
        return value;
    check_field(deck_, read_int_field(record_, column_, item.width, value));
    return value;
}

float LayoutReader::get_real() {
    const LayoutItem& item = advance_to_data_item(LayoutItem::Kind::real);
    float value = 0.0f;
    if (column_ >= record_.size())
        return value;
    check_field(deck_, read_real_field(record_, column_, item.width, item.decimals, value));
    return value;
}

void LayoutReader::get_text(std::span<char> text) {
    advance_to_data_item(LayoutItem::Kind::text);
    std::size_t from = std::min(column_, record_.size());
    std::size_t n = std::min(text.size(), record_.size() - from);
    std::copy_n(record_.data() + from, n, text.data());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
    column_ += text.size();
}

void read_text_record(InputDeck& deck, std::span<char> text) {
    static const Layout kText("(A)");
    LayoutReader reader(deck, kText);
    reader.get_text(text);
}

} // namespace tessen
