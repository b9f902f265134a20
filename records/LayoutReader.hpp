#pragma once

#include "records/FieldWalker.hpp"
#include "records/InputDeck.hpp"
#include "records/Layout.hpp"

#include <cstdint>
#include <span>
#include <string_view>

namespace tessen {

// Walks a layout on input over the records of the deck: each get fills one variable from
// the field the walk has reached, reading the next record where the walk needs one (at
// the first data item, after a /, and at the closing parenthesis by the reversion rule).
// Columns past the end of a short record read as blanks. A field that cannot be read, and
// the end of the deck where a record is still needed, end the run with the deck's
// diagnostic. finish() leaves the rest of the current record unread, so the next read
// begins with the next record.
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

    // The last numeric field read: its columns by the layout (0-based start, width) and its
    // text as it stands in the record, for a reader that looks closer at what was typed.
    struct Field {
        std::size_t start;
        std::size_t width;
        std::string_view text;
    };
    Field last_field() const {
        return {walker_.last_field_start(), walker_.last_field_width(), walker_.last_field()};
    }

  private:
    // The deck's records for the walk; the deck raises the end-of-file diagnostic itself.
    class DeckRecords : public RecordSupply {
      public:
        explicit DeckRecords(InputDeck& deck) : deck_(deck) {}
        std::optional<std::string_view> next_record() override { return deck_.next_record(); }

      private:
        InputDeck& deck_;
    };

    InputDeck& deck_;
    DeckRecords records_;
    FieldWalker walker_;

    void check(FieldStatus status) const;
};

// Reads a fixed-length text (title, name) as "(A)": the first text.size() characters
// of the next record, blank-filled.
void read_text_record(InputDeck& deck, std::span<char> text);

} // namespace tessen
