#include "records/RealOutputExact.hpp"

#include "records/RealOutput.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace tessen {
namespace {

constexpr int kExactDigits = 17; // digits taken from the exact binary value
constexpr int kShownDigits = kShownSignificantDigits;

// |x| as 0.D1 D2 ... Dcount times 10^exponent with D1 non-zero; zero is the single
// digit 0 with exponent 0. Digits are held as values 0..9.
struct DecimalDigits {
    char digit[kExactDigits] = {};
    int count = 0;
    int exponent = 0;
};

// The exact value of |x| rounded to 17 significant digits, trailing zeros removed.
// float -> double is exact, and to_chars with a precision rounds the exact binary value.
DecimalDigits seventeen_digits(float x) {
    DecimalDigits dec;
    dec.count = 1;
    if (x == 0.0f) {
        return dec;
    }
    char text[40];
    const char* end = std::to_chars(text, text + sizeof text, std::fabs(static_cast<double>(x)),
                                    std::chars_format::scientific, kExactDigits - 1)
                          .ptr;
    // text is "D.DDDDDDDDDDDDDDDDe+XX": 17 digits, then the exponent with its sign.
    dec.digit[0] = static_cast<char>(text[0] - '0');
    for (int i = 1; i < kExactDigits; ++i) {
        dec.digit[i] = static_cast<char>(text[i + 1] - '0');
    }
    const char* sign = text + kExactDigits + 2;
    int exp10 = 0;
    std::from_chars(sign + 1, end, exp10);
    dec.exponent = (*sign == '-' ? -exp10 : exp10) + 1;
    dec.count = kExactDigits;
    while (dec.count > 1 && dec.digit[dec.count - 1] == 0) {
        --dec.count;
    }
    return dec;
}

// What is laid out: the sign, the digit string and the counts P (digits before the
// point, negative for zeros after it) and K (digit positions from the first digit up to
// the last decimal). Positions past the end of the digit string are zeros.
struct FieldValue {
    bool negative = false;
    DecimalDigits digits;
    int int_count = 0;  // P
    int keep_count = 0; // K
};

bool any_nonzero(const DecimalDigits& dec) {
    return std::any_of(dec.digit, dec.digit + dec.count, [](char c) { return c != 0; });
}

// Rounds the digit string to `keep` digits: a first dropped digit of 5 or more adds one
// to the last kept digit, carried through nines. Returns true when the carry ran past
// the first digit; the string is then "1".
bool round_digits(DecimalDigits& dec, int keep) {
    if (dec.count <= keep) {
        return false;
    }
    const bool up = dec.digit[keep] >= 5;
    dec.count = keep;
    if (!up) {
        return false;
    }
    for (int i = keep - 1; i >= 0; --i) {
        if (dec.digit[i] < 9) {
            ++dec.digit[i];
            return false;
        }
        dec.digit[i] = 0;
    }
    dec.digit[0] = 1;
    dec.count = 1;
    return true;
}

FieldValue field_value(float x, int d) {
    FieldValue v;
    v.negative = std::signbit(x) && x != 0.0f;
    v.digits = seventeen_digits(x);
    const int exponent = v.digits.exponent;
    v.int_count = exponent;
    v.keep_count = exponent + d;
    if (exponent < -d) { // too small: every shown digit is zero
        v.negative = false;
        v.digits.count = 0;
        v.int_count = -d;
        v.keep_count = 0;
        return v;
    }
    if (round_digits(v.digits, std::min(v.keep_count, kShownDigits))) {
        ++v.int_count;
        ++v.keep_count;
    }
    if (!any_nonzero(v.digits)) {
        v.negative = false;
    }
    return v;
}

int text_length(const FieldValue& v, int d) {
    const bool lone_zero = v.int_count == 0 && v.keep_count == 0;
    return (v.negative ? 1 : 0) + (lone_zero ? 1 : 0) + std::max(v.int_count, 0) + 1 + d;
}

char digit_at(const DecimalDigits& dec, int index) {
    return static_cast<char>('0' + (index < dec.count ? dec.digit[index] : 0));
}

void write_text(char* out, const FieldValue& v) {
    if (v.negative) {
        *out++ = '-';
    }
    if (v.int_count == 0 && v.keep_count == 0) {
        *out++ = '0';
    }
    int index = 0;
    for (; index < v.int_count; ++index) {
        *out++ = digit_at(v.digits, index);
    }
    *out++ = '.';
    for (int zeros = -v.int_count; zeros > 0; --zeros) {
        *out++ = '0';
    }
    for (; index < v.keep_count; ++index) {
        *out++ = digit_at(v.digits, index);
    }
}

} // namespace

char* edit_real_exact(char* dst, float x, int w, int d) {
    if (w <= 0) {
        return dst;
    }
    // The text needs at least the point and d decimals; this also bounds every count.
    if (d < 0 || d >= w || !std::isfinite(x)) {
        std::memset(dst, '*', static_cast<std::size_t>(w));
        return dst + w;
    }
    const FieldValue v = field_value(x, d);
    const int length = text_length(v, d);
    if (length > w) {
        std::memset(dst, '*', static_cast<std::size_t>(w));
        return dst + w;
    }
    std::memset(dst, ' ', static_cast<std::size_t>(w - length));
    write_text(dst + (w - length), v);
    return dst + w;
}

std::string edit_real_exact(float x, int w, int d) {
    std::string text(static_cast<std::size_t>(std::max(w, 0)), ' ');
    edit_real_exact(text.data(), x, w, d);
    return text;
}

} // namespace tessen
