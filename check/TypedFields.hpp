#pragma once

#include "records/Layout.hpp"
#include "records/NumericInput.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessen::check {

// A numeric field of a record as it was typed: its columns by the layout (0-based start,
// width), its text as the walk took it (a comma that ended it included, nothing past the
// end of a short record), and what the record layer reads from it (a real's float, an
// integer's value, exactly).
struct TypedField {
    std::size_t start = 0;
    std::size_t width = 0;
    std::string text;
    bool real = false;
    FieldStatus status = FieldStatus::ok;
    double value = 0;
};

// The numeric fields of a record read by a layout, exactly as tessen reads them, and the
// column where the read stopped.
struct TypedRecord {
    std::vector<TypedField> fields;
    std::size_t end = 0; // 0-based: the first column after what the fields read
};

// The first `count` numeric fields of a record by a layout (every one when count is 0).
TypedRecord typed_record(const Layout& layout, std::string_view record, std::size_t count = 0);

// The real fields of a record read by a layout.
std::vector<TypedField> typed_reals(const Layout& layout, std::string_view record);

// Whether the text holds only blanks and tabs (or nothing).
bool is_blank(std::string_view text);

// The number that a field typed with digits and no decimal point means to a reader who
// does not know the implied-decimal rule ("120" means 120); nothing when the field has a
// decimal point, no digit, or is no number.
std::optional<double> number_as_typed(std::string_view text);

// Whether a record reads as an atom record: I of 1 to 500, J, K and L of 0 to 500, every
// field a number, and at least one real field typed.
bool looks_like_atom_record(std::string_view record);

// The control code in columns 1-3 of a record, when it reads as one of 999, -9 and -6
// and nothing else stands in the record but, for -6, a title.
std::optional<int> control_code_in(std::string_view record);

} // namespace tessen::check
