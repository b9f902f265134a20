#pragma once

#include "check/TypedFields.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessen::check {

// A trap in how a record's text lies in its fixed columns: the column (from 1) where the
// offending text begins, the finding's code and its message.
struct FieldTrap {
    std::size_t column = 0;
    std::string code;
    std::string message;
};

// A number typed across the boundary of two real fields (`121.93000050000.000000`): the
// first field holds its whole width and ends inside a number, and the next begins with
// one. Each field reads its own columns, so neither gets the number meant.
std::optional<FieldTrap> number_run_on(const TypedField& field, const std::string& name,
                                       const TypedField& next, const std::string& next_name);

// A blank between the characters of a number (`1.2 5000`): the blanks are squeezed out and
// the rest read as one number (1.25).
std::optional<FieldTrap> blank_in_number(const TypedField& field, const std::string& name);

// Text past the last column that a record reads (0-based `end`), which is never read;
// `where` says what ends there ("where title 1 ends"). When the text goes on from the
// number of the record's last field (a mass typed three columns late), the message says
// what that field is read as.
std::optional<FieldTrap> text_past_end(std::string_view record, std::size_t end,
                                       const std::string& where,
                                       const TypedField* last_field = nullptr,
                                       const std::string& last_name = {});

// A field that holds a value where the record does not use it: its name and why it plays
// no part.
FieldTrap unused_field(const TypedField& field, const std::string& name, const std::string& why);

// The column (from 1) where the text of a field begins: its first character that is not a
// blank, or its first column when it is all blank.
std::size_t text_column(const TypedField& field);

} // namespace tessen::check
