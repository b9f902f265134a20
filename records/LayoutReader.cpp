#include "records/LayoutReader.hpp"

#include "records/Diagnostic.hpp"

namespace tessen {

LayoutReader::LayoutReader(InputDeck& deck, const Layout& layout)
    : deck_(deck), records_(deck), walker_(layout, records_) {}

// Ends the run for a numeric field that could not be read, naming its line, columns and
// text. (The end of the deck where a record is needed is raised by the deck itself; here
// end_of_deck is a Ctrl-Z in the field.)
void LayoutReader::check(FieldStatus status) const {
    if (status == FieldStatus::ok)
        return;
    const ErrorKind kind = status == FieldStatus::bad_character ? ErrorKind::bad_field
                           : status == FieldStatus::overflow    ? ErrorKind::input_overflow
                                                                : ErrorKind::end_of_file;
    deck_.fail_at_field(kind, walker_.last_field_start(), walker_.last_field_width(),
                        walker_.last_field());
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
