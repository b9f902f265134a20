#include "records/LayoutReader.hpp"

#include "records/Diagnostic.hpp"

namespace tessen {

LayoutReader::LayoutReader(InputDeck& deck, const Layout& layout)
    : deck_(deck), records_(deck), walker_(layout, records_) {}

// Ends the run for a numeric field that could not be read.
void LayoutReader::check(FieldStatus status) const {
    switch (status) {
    case FieldStatus::ok:
        return;
    case FieldStatus::bad_character:
        deck_.fail(ErrorKind::bad_field);
    case FieldStatus::overflow:
        deck_.fail(ErrorKind::input_overflow);
    case FieldStatus::end_of_deck:
        deck_.fail(ErrorKind::end_of_file);
    }
}

std::int32_t LayoutReader::get_int() {
    std::int32_t value = 0;
    check(walker_.get_int(value));
    return value;
}

float LayoutReader::get_real() {
    float value = 0.0f;
    check(walker_.get_real(value));
    return value;
}

void LayoutReader::get_text(std::span<char> text) {
    check(walker_.get_text(text));
}

void read_text_record(InputDeck& deck, std::span<char> text) {
    static const Layout kText("(A)");
    LayoutReader reader(deck, kText);
    reader.get_text(text);
}

} // namespace tessen
