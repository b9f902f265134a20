#pragma once

#include "records/InputDeck.hpp"
#include "records/Layout.hpp"

#include <cstdint>
#include <span>
#include <string_view>

namespace tessen {

// Walks a layout on input: each get fills one variable from the field the walk has
// reached, reading the next record where the walk needs one (at the first data item,
// after a /, and at the closing parenthesis by the reversion rule). Columns past the
// end of a short record read as blanks. finish() leaves the rest of the current record
// unread, so the next read begins with the next record.
class LayoutReader {
  public:
    LayoutReader(InputDeck& deck, const Layout& layout);
    // The reader keeps a reference: a temporary layout would not outlive it.
    LayoutReader(InputDeck& deck, const Layout&& layout) = delete;

    std::int32_t get_int();
    float get_real();
    // Fills the whole text with the next text.size() characters of the record,
    // blank-filled where the record ends first.
    void get_text(std::span<char> text);
    void finish() {}

  private:
    InputDeck& deck_;
    const Layout& layout_;
    std::size_t next_ = 0;
    std::string_view record_;
    std::size_t column_ = 0; // 0-based position in the record
    bool need_record_ = true;

    void ensure_record();
    const LayoutItem& advance_to_data_item(LayoutItem::Kind kind);
};

// Reads a fixed-length text (title, name) as "(A)": the first text.size() characters
// of the next record, blank-filled.
void read_text_record(InputDeck& deck, std::span<char> text);

} // namespace tessen
