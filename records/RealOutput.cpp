#include "records/RealOutput.hpp"

#include "records/RealOutputExact.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

// The editor rounds the exact value of x twice: to 17 significant digits, then at one
// decimal position (the d-th decimal, or the seventh significant digit when that comes
// first) with a dropped half rounding up. For |x| < 2^24 and d <= 8 this file does both
// roundings in integers on the exact binary value m * 2^-shift; everything else goes to
// the digit-by-digit editor, which gives the same bytes, only slower.
//
// Why one integer test covers the first rounding: the second rounding only asks
// whether the value is below, or at or above, a half-way point h, and every such h has
// at most eight significant digits. Rounding to 17 digits therefore never moves a value
// from at or above h to below it; it moves a value below h up to h exactly when the
// value lies within half a unit of the 17th digit below h (a tie there goes up under
// either tie rule, as the 17th digit just below h is a 9). A value that the 17-digit
// step lifts to a power of ten is rounded up to that same power of ten by the second
// rounding anyway. So a value rounds up when its fraction past the rounding position
// is at least 1/2 - 10^-c / 2, where c = 17 - (digits kept).

namespace tessen {
namespace {

__extension__ typedef unsigned __int128 Wide;

constexpr int kShownDigits = 7;
constexpr int kExactDigits = 17;
constexpr std::uint32_t kTwoTo24Bits = 0x4b800000u; // bit pattern of 2^24f

// 10^0 .. 10^19.
constexpr std::array<std::uint64_t, 20> kPow10 = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& p : powers) {
        p = power;
        power *= 10; // wraps after the last entry, harmlessly
    }
    return powers;
}();

// Number of decimal digits of n >= 1.
int decimal_digits(std::uint64_t n) {
    const int guess = (std::bit_width(n) * 1233) >> 12; // floor(bits * log10(2)), maybe one less
    return guess + 1 - (n < kPow10[guess] ? 1 : 0);
}

// floor(n / 10^j) for n < 2^51 and j <= 9 by one multiplication: with
// s = floor(log2(10^j)) and f = ceil(2^(63+s) / 10^j) < 2^63, n * f / 2^(63+s) exceeds
// n / 10^j by less than 2^51 / 2^(63+s) <= 10^-j * 2^-11, too little to reach the next
// integer.
struct Reciprocal {
    std::uint64_t factor;
    int shift;
};

constexpr Reciprocal reciprocal_of_pow10(int j) {
    const int s = std::bit_width(kPow10[j]) - 1;
    const Wide scaled = Wide{1} << (63 + s);
    return {static_cast<std::uint64_t>((scaled + kPow10[j] - 1) / kPow10[j]), 63 + s};
}

constexpr Reciprocal kReciprocals[10] = {
    reciprocal_of_pow10(0), reciprocal_of_pow10(1), reciprocal_of_pow10(2), reciprocal_of_pow10(3),
    reciprocal_of_pow10(4), reciprocal_of_pow10(5), reciprocal_of_pow10(6), reciprocal_of_pow10(7),
    reciprocal_of_pow10(8), reciprocal_of_pow10(9)};

std::uint64_t divide_by_pow10(std::uint64_t n, int j) {
    const Reciprocal r = kReciprocals[j];
    return static_cast<std::uint64_t>((Wide{n} * r.factor) >> r.shift);
}

// Whether the fraction num / den (num < den <= 2^57) rounds up to the next unit: at
// least 1/2, or short of 1/2 by at most 10^-places / 2 (places >= 10), that is
// (den - 2 num) * 10^places <= den.
bool fraction_rounds_up(std::uint64_t num, std::uint64_t den, int places) {
    const bool at_least_half = 2 * num >= den;
    const std::uint64_t gap = den - 2 * num; // wraps round above 1/2
    // As 10^places > 2^33, a gap in the band is at most den >> 33, which is rare.
    if (gap <= (den >> 33)) [[unlikely]] {
        return Wide{gap} * kPow10[places] <= Wide{den};
    }
    return at_least_half;
}

// |x| rounded as the editor rounds it, in units of 10^-D. bits are those of a finite
// |x| below 2^24.
template <int D> std::uint64_t rounded_units(std::uint32_t bits) {
    const std::uint32_t biased = bits >> 23;
    const std::uint32_t fraction = bits & 0x7fffffu;
    const std::uint64_t mantissa = biased != 0 ? (fraction | 0x800000u) : fraction;
    const int shift = biased != 0 ? 150 - static_cast<int>(biased) : 149; // |x| = m * 2^-shift
    const std::uint64_t scaled = mantissa * kPow10[D];                    // |x| * 10^D * 2^shift
    // Below a tenth of the last decimal the field shows zero; scaled < 2^51, so every
    // shift from 55 on gives such a value.
    if (shift >= 55 || 10 * scaled < (std::uint64_t{1} << shift)) {
        return 0;
    }
    const std::uint64_t whole = scaled >> shift;
    const std::uint64_t part = scaled & ((std::uint64_t{1} << shift) - 1);
    // Digits from the first significant one up to the D-th decimal.
    const int positions = whole != 0 ? decimal_digits(whole) : 0;
    if (positions <= kShownDigits) { // round at the D-th decimal
        const bool up =
            fraction_rounds_up(part, std::uint64_t{1} << shift, kExactDigits - positions);
        return whole + (up ? 1 : 0);
    }
    // Round at the seventh significant digit, 10^excess units. Such a value is at least
    // 10^(7-D), so its shift is at most 27 and rem << shift stays below 2^57.
    const int excess = positions - kShownDigits;
    const std::uint64_t step = kPow10[excess];
    const std::uint64_t kept = divide_by_pow10(whole, excess);
    const std::uint64_t rem = whole - kept * step;
    const bool up =
        fraction_rounds_up((rem << shift) + part, step << shift, kExactDigits - kShownDigits);
    return (kept + (up ? 1 : 0)) * step;
}

// The characters of the two-digit numbers 00..99, first digit in the low byte.
constexpr std::array<std::uint16_t, 100> make_digit_pairs() {
    std::array<std::uint16_t, 100> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[i] = static_cast<std::uint16_t>(('0' + i / 10) | (('0' + i % 10) << 8));
    }
    return pairs;
}

constexpr std::array<std::uint16_t, 100> kDigitPairs = make_digit_pairs();

// The eight decimal digits of v < 10^8 as characters, the first in the lowest byte.
// The four pairs are looked up independently of each other.
std::uint64_t eight_digits(std::uint32_t v) {
    const std::uint32_t high = v / 10000;
    const std::uint32_t low = v % 10000;
    return std::uint64_t{kDigitPairs[high / 100]} | (std::uint64_t{kDigitPairs[high % 100]} << 16) |
           (std::uint64_t{kDigitPairs[low / 100]} << 32) |
           (std::uint64_t{kDigitPairs[low % 100]} << 48);
}

// Stores the low N bytes of chars at out, lowest byte first.
template <int N> void store_bytes(char* out, std::uint64_t chars) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &chars, N);
    } else {
        for (int i = 0; i < N; ++i) {
            out[i] = static_cast<char>(chars >> (8 * i));
        }
    }
}

// Stores the last n (0..8) of the eight characters in chars (first character in the
// lowest byte) so that they end at end, with at most two stores.
void store_last_chars(char* end, std::uint64_t chars, int n) {
    if (n >= 4) {
        store_bytes<4>(end - n, chars >> (8 * (8 - n)));
        store_bytes<4>(end - 4, chars >> 32);
    } else if (n >= 2) {
        store_bytes<2>(end - n, chars >> (8 * (8 - n)));
        store_bytes<2>(end - 2, chars >> 48);
    } else if (n == 1) {
        end[-1] = static_cast<char>(chars >> 56);
    }
}

constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;
constexpr std::uint64_t kEightZeros = 0x3030303030303030ull;
constexpr std::uint64_t kTenTo8 = 100000000ull;

// The eight places before the point as characters (first in the lowest byte): the last
// whole_digits of the digits, the places in front of them blank, and a minus sign in the
// last of those when sign is set and there is room (eight digits leave none).
std::uint64_t whole_places(std::uint64_t digits, int whole_digits, bool sign) {
    const int hidden = 8 - whole_digits;
    // Two shifts, so that all eight places can be hidden without shifting by 64.
    const std::uint64_t hidden_mask = ((std::uint64_t{1} << (4 * hidden)) << (4 * hidden)) - 1;
    const std::uint64_t places = (digits & ~hidden_mask) | (kEightBlanks & hidden_mask);
    const std::uint64_t minus = std::uint64_t{'-' ^ ' '} << ((8 * hidden - 8) & 63);
    return places ^ (minus & (std::uint64_t{0} - (sign & (hidden != 0))));
}

// Writes the text of units * 10^-D (units < 10^8 * 10^D), whose length is at most w,
// right-justified in w >= 8 columns. The sixteen digits of units come from one or two
// eight-digit conversions; the point and the decimals go to the end of the field
// in one store, then the columns in front of the point are stored from the right (which
// also covers what the first store put there).
template <int D>
void write_fixed_text(char* dst, int w, bool sign, std::uint64_t units, int whole_digits) {
    std::uint64_t high = kEightZeros; // digits 1-8 of the sixteen
    std::uint64_t low;                // digits 9-16: the last D are the decimals
    if (units < kTenTo8) {
        low = eight_digits(static_cast<std::uint32_t>(units));
    } else {
        const std::uint64_t top = units / kTenTo8;
        high = eight_digits(static_cast<std::uint32_t>(top));
        low = eight_digits(static_cast<std::uint32_t>(units - top * kTenTo8));
    }
    const int before_point = w - D - 1;
    std::uint64_t whole_digits_text = high;
    if constexpr (D == 0) {
        whole_digits_text = low;
    } else if constexpr (D < 8) {
        whole_digits_text = (high >> (8 * (8 - D))) | (low << (8 * D));
    }
    if constexpr (D < 8) {
        constexpr int point_byte = 7 - D;
        constexpr std::uint64_t point_mask = std::uint64_t{0xff} << (8 * point_byte);
        store_bytes<8>(dst + w - 8, (low & ~point_mask) | (std::uint64_t{'.'} << (8 * point_byte)));
    } else {
        store_bytes<8>(dst + w - 8, low);
        dst[before_point] = '.';
    }
    const std::uint64_t places = whole_places(whole_digits_text, whole_digits, sign);
    if (before_point > 8) {
        std::memset(dst, ' ', static_cast<std::size_t>(before_point - 8));
        if (sign && whole_digits == 8) {
            dst[before_point - 9] = '-';
        }
        store_bytes<8>(dst + before_point - 8, places);
    } else {
        store_last_chars(dst + before_point, places, before_point);
    }
}

// Lays out units * 10^-D (units < 10^8 * 10^D) right-justified in w columns: no zero
// before the point unless the field would otherwise hold the point alone, asterisks when
// it does not fit.
template <int D> void write_fixed(char* dst, int w, bool negative, std::uint64_t units) {
    const int all_digits = decimal_digits(units | 1u);
    // A zero whole part is not shown, except as the lone "0" of "0." when D is 0.
    const int whole_digits = all_digits > D ? all_digits - D : (D == 0 ? 1 : 0);
    // Computed without a branch: the sign of a list of values is hard to predict.
    const bool sign = negative & (units != 0);
    const int length = static_cast<int>(sign) + whole_digits + 1 + D;
    if (length > w) {
        std::memset(dst, '*', static_cast<std::size_t>(w));
        return;
    }
    constexpr int kNarrowest = 8;
    if (w < kNarrowest) { // narrow fields: lay out in eight columns, keep the last w
        char wide[kNarrowest];
        write_fixed_text<D>(wide, kNarrowest, sign, units, whole_digits);
        std::memcpy(dst, wide + (kNarrowest - w), static_cast<std::size_t>(w));
        return;
    }
    write_fixed_text<D>(dst, w, sign, units, whole_digits);
}

template <int D> void edit_small(char* dst, std::uint32_t bits, int w) {
    const std::uint64_t units = rounded_units<D>(bits & 0x7fffffffu);
    write_fixed<D>(dst, w, (bits >> 31) != 0, units);
}

} // namespace

char* edit_real(char* dst, float x, int w, int d) {
    if (w <= 0) {
        return dst;
    }
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
    if ((bits & 0x7fffffffu) >= kTwoTo24Bits) {
        return edit_real_exact(dst, x, w, d);
    }
    switch (d) {
    case 0:
        edit_small<0>(dst, bits, w);
        break;
    case 1:
        edit_small<1>(dst, bits, w);
        break;
    case 2:
        edit_small<2>(dst, bits, w);
        break;
    case 3:
        edit_small<3>(dst, bits, w);
        break;
    case 4:
        edit_small<4>(dst, bits, w);
        break;
    case 5:
        edit_small<5>(dst, bits, w);
        break;
    case 6:
        edit_small<6>(dst, bits, w);
        break;
    case 7:
        edit_small<7>(dst, bits, w);
        break;
    case 8:
        edit_small<8>(dst, bits, w);
        break;
    default:
        return edit_real_exact(dst, x, w, d);
    }
    return dst + w;
}

std::string edit_real(float x, int w, int d) {
    std::string text(static_cast<std::size_t>(std::max(w, 0)), ' ');
    edit_real(text.data(), x, w, d);
    return text;
}

} // namespace tessen
