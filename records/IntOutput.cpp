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

// 0 to 999 right-justified in three columns, first character in the lowest byte.
constexpr std::array<std::uint32_t, 1000> kThreeColumns = [] {
    std::array<std::uint32_t, 1000> texts{};
    for (std::uint32_t v = 0; v < 1000; ++v) {
        const std::uint32_t hundreds = v >= 100 ? '0' + v / 100 : ' ';
        const std::uint32_t tens = v >= 10 ? '0' + v / 10 % 10 : ' ';
        texts[v] = hundreds | (tens << 8) | (('0' + v % 10) << 16);
    }
    return texts;
}();

} // namespace

// The usual items (I3, I4) and values take one word: the value's eight digits, the places
// before its first digit blank and the sign in the last of them, of which the last w
// characters are stored.
char* edit_int_in_slack(char* dst, std::int32_t v, int w) {
    using namespace digit_text;
    if (w <= 0)
        return dst;
    if (static_cast<std::uint32_t>(v) < 1000 && w >= 3 && w <= 8) { // atom numbers, axes
        const std::uint64_t text = kThreeColumns[static_cast<std::size_t>(v)];
        store_word(dst, kEightBlanks ^ ((text ^ 0x202020) << (8 * (w - 3))));
        return dst + w;
    }
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
