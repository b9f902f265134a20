#include "records/IntOutput.hpp"

#include <algorithm>
#include <cstring>

namespace tessen {

char* edit_int(char* dst, std::int32_t v, int w) {
    if (w <= 0) {
        return dst;
    }
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

std::string edit_int(std::int32_t v, int w) {
    std::string text(static_cast<std::size_t>(std::max(w, 0)), ' ');
    edit_int(text.data(), v, w);
    return text;
}

} // namespace tessen
