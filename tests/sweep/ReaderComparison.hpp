#pragma once

// The numeric input readers against their general forms, field by field: shared by the unit
// tests, which check edge and random fields, and by the reader sweep (`make sweep`).

#include "records/NumericInput.hpp"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace tessen::test {

// Whether read_int_field or read_real_field into Value agrees with the general reader on
// the field of w columns at start: same status, same position after it, same value bits.
template <typename Value>
bool reads_as_general(std::string_view record, std::size_t start, int w, int d) {
    std::size_t pos = start;
    std::size_t general_pos = start;
    Value value{-7};
    Value general{-7};
    FieldStatus status;
    FieldStatus general_status;
    if constexpr (std::is_same_v<Value, std::int32_t>) {
        status = read_int_field(record, pos, w, value);
        general_status = detail::read_int_field_general(record, general_pos, w, general);
    } else {
        status = read_real_field(record, pos, w, d, value);
        general_status = detail::read_real_field_general(record, general_pos, w, d, general);
    }
    return status == general_status && pos == general_pos &&
           std::memcmp(&value, &general, sizeof value) == 0;
}

// Empty when the int, float and double readers all agree with the general ones on the
// field; otherwise the record, where the field starts and its format.
inline std::string reader_difference(std::string_view record, std::size_t start, int w, int d) {
    if (reads_as_general<std::int32_t>(record, start, w, d) &&
        reads_as_general<float>(record, start, w, d) &&
        reads_as_general<double>(record, start, w, d)) {
        return {};
    }
    std::string found = "\"";
    found.append(record).append("\" from ").append(std::to_string(start));
    return found.append(" F").append(std::to_string(w)).append(".").append(std::to_string(d));
}

} // namespace tessen::test
