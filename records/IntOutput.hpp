#pragma once

#include "records/DigitText.hpp"

#include <array>
#include <cstdint>
#include <string>

namespace tessen {

// Writes v by the item Iw: exactly w characters at dst, right-justified, "-" for a
// negative value, no "+", w asterisks when the digits do not fit. Returns dst + w.
char* edit_int(char* dst, std::int32_t v, int w);

namespace detail {

// 0 to 999 right-justified in three columns, first character in the lowest byte.
inline constexpr std::array<std::uint32_t, 1000> kThreeColumns = [] {
    std::array<std::uint32_t, 1000> texts{};
    for (std::uint32_t v = 0; v < 1000; ++v) {
        const std::uint32_t hundreds = v >= 100 ? '0' + v / 100 : ' ';
        const std::uint32_t tens = v >= 10 ? '0' + v / 10 % 10 : ' ';
        texts[v] = hundreds | (tens << 8) | (('0' + v % 10) << 16);
    }
    return texts;
}();

// edit_int_in_slack for every value and width but the usual ones.
char* edit_other_int_in_slack(char* dst, std::int32_t v, int w);

} // namespace detail

// The same field, for a caller that has room for at least 8 bytes from dst on (the
// record buffer): what lies past the field's w columns is overwritten. Returns dst + w.
// Inline for the usual items (I3, I4) and values (atom numbers, axes): one word, the
// three columns of the value after w - 3 blanks.
inline char* edit_int_in_slack(char* dst, std::int32_t v, int w) {
    using namespace digit_text;
    if (static_cast<std::uint32_t>(v) < 1000 && w >= 3 && w <= 8) {
        const std::uint64_t text = detail::kThreeColumns[static_cast<std::size_t>(v)];
        store_word(dst, kEightBlanks ^ ((text ^ 0x202020) << (8 * (w - 3))));
        return dst + w;
    }
    return detail::edit_other_int_in_slack(dst, v, w);
}

std::string edit_int(std::int32_t v, int w);

} // namespace tessen
