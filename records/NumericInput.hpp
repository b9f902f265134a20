#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessen {

// What became of a numeric input field. Anything but ok ends the run with the
// matching diagnostic (the caller raises it).
enum class FieldStatus {
    ok,
    bad_character, // a character that cannot belong to the number
    overflow,      // beyond the 32-bit range, or beyond the single-precision range
    end_of_deck,   // a Ctrl-Z (character 26) in the field
};

// The record is one line of the deck without its line feed and without a carriage
// return directly before it. pos is the current column (0-based); a field takes the
// next w characters, ends early at the end of the record, at a carriage return (left
// unread) or at a comma (consumed), and pos is left after what was taken.

// Reads an integer field of w columns (Iw).
FieldStatus read_int_field(std::string_view record, std::size_t& pos, int w, std::int32_t& value);

// Reads a real field of w columns with d implied decimals (Fw.d), converted once to
// the nearest single-precision value.
FieldStatus read_real_field(std::string_view record, std::size_t& pos, int w, int d, float& value);
// The same field read into double precision: the decimal value of what is printed (a
// report read back), converted once to the nearest double.
FieldStatus read_real_field(std::string_view record, std::size_t& pos, int w, int d, double& value);

namespace detail {

// The same readers without their shortcut for the common field (leading blanks, a sign,
// digits with a point, trailing blanks): every field takes the general scan and one
// conversion by std::from_chars. The shortcut must agree with them on every field, which
// the tests and the reader sweep check.
FieldStatus read_int_field_general(std::string_view record, std::size_t& pos, int w,
                                   std::int32_t& value);
FieldStatus read_real_field_general(std::string_view record, std::size_t& pos, int w, int d,
                                    float& value);
FieldStatus read_real_field_general(std::string_view record, std::size_t& pos, int w, int d,
                                    double& value);

} // namespace detail

} // namespace tessen
