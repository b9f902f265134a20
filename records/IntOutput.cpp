#include "records/IntOutput.hpp"

#include "records/DigitText.hpp"

#include <algorithm>
#include <array>
#include <cstring>

namespace tessen {

namespace {

// Any width and value, character by character.
char* edit_int_by_digits(char* dst, std::int32_t v, int w) {
    const bool negative = v < 0;
    // Unsigned negation keeps INT32_MIN exact.
    std::uint32_t magnitude =
        negative ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
    char digits[10];
    char* first = digits + sizeof digits;
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const int count = static_cast<int>(digits + sizeof digits - first);
    const int length = count + (negative ? 1 : 0);
    if (length > w) {
        std::memset(dst, '*', static_cast<std::size_t>(w));
        return dst + w;
    }
    char* out = dst + (w - length);
    std::memset(dst, ' ', static_cast<std::size_t>(w - length));
    if (negative) {
        *out++ = '-';
    }
    std::memcpy(out, first, static_cast<std::size_t>(count));
    return dst + w;
}

} // namespace

// Values and widths of one word but the three-column ones: the value's eight digits,
// the places before its first digit blank and the sign in the last of them, of which the
// last w characters are stored.
char* detail::edit_other_int_in_slack(char* dst, std::int32_t v, int w) {
    using namespace digit_text;
    if (w <= 0)
        return dst;
    const bool negative = v < 0;
    const std::uint32_t magnitude =
        negative ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
    if (w > 8 || magnitude >= 10000000)
        return edit_int_by_digits(dst, v, w);
    const int count = decimal_digits(magnitude | 1u);
    if (count + static_cast<int>(negative) > w) {
        std::memset(dst, '*', static_cast<std::size_t>(w));
        return dst + w;
    }
    const int blanks = 8 - count; // at least one: magnitude has at most seven digits
    const std::uint64_t blank_mask = low_bytes(blanks);
    std::uint64_t image = (eight_digits(magnitude) & ~blank_mask) | (kEightBlanks & blank_mask);
    image ^= (std::uint64_t{'-' ^ ' '} << (8 * (blanks - 1))) & (std::uint64_t{0} - negative);
    store_word(dst, image >> (8 * (8 - w)));
    return dst + w;
}

char* edit_int(char* dst, std::int32_t v, int w) {
    if (w > 8)
        return edit_int_in_slack(dst, v, w);
    char field[8];
    edit_int_in_slack(field, v, w);
    std::memcpy(dst, field, static_cast<std::size_t>(std::max(w, 0)));
    return dst + std::max(w, 0);
}

std::string edit_int(std::int32_t v, int w) {
    std::string text(static_cast<std::size_t>(std::max(w, 0)), ' ');
    edit_int(text.data(), v, w);
    return text;
}

} // namespace tessen
