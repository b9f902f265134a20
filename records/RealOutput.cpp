#include "records/RealOutput.hpp"

#include "records/RealOutputExact.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

// The editor rounds the exact value of x twice: to 17 significant digits, then at one
// decimal position (the d-th decimal, or the seventh significant digit when that comes
// first) with a dropped half rounding up. For |x| < 10^7 and d <= 7 this file does both
// roundings in integers on the exact binary value m * 2^-shift; everything else goes to
// the digit-by-digit editor, which gives the same bytes, only slower.
//
// Why the first rounding needs no work of its own here: what the second rounding looks
// at is where the value lies against the multiples of 1/2 in units of the last kept
// digit (the half-way points it rounds at, and the integers, among them the powers of
// ten where one more digit goes before the point). Each such point has at most eight
// significant digits, so rounding to 17 digits keeps it in place, and as that rounding
// never reverses an order, it can only change the outcome by lifting a value onto such
// a point from within half a unit of the 17th digit. No value on this path comes that
// close. Scaled by 10^s (s <= d <= 7) so that the last kept digit is the units digit,
// |x| is y = m * 10^s / 2^shift with m < 2^24, a multiple of 1/2^shift, so a value off
// such a point is at least 1/2^(shift+1) away from it. When the integer part of y has k
// digits (k = 0 when it is 0), y >= 10^(k-1), because values under a tenth are shown
// as zero before this question is asked, and half a unit of the 17th digit is
// 10^(k-17) / 2. Now 2^shift = m * 10^s / y < 2^24 * 10^7 * 10^(1-k), and
// 2^24 * 10^8 < 10^17 makes that less than 10^(17-k): the gap is wider than the
// 17-digit step can close. So a value rounds up exactly when its binary fraction past
// the kept digits is at least 1/2.

namespace tessen {
namespace {

constexpr int kShownDigits = 7;
constexpr int kExactDigits = 17;
constexpr int kMaxFastDecimals = 7; // larger d goes to the digit-by-digit editor

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

// The bound that lets the 17-digit rounding be skipped (see the top of the file): a
// mantissa below 2^24, at most kMaxFastDecimals decimals kept, nothing under a tenth of
// the last kept digit.
static_assert(std::numeric_limits<float>::digits == 24);
static_assert((std::uint64_t{1} << 24) * kPow10[kMaxFastDecimals] * 10 < kPow10[kExactDigits]);

// Number of decimal digits of n >= 1.
int decimal_digits(std::uint64_t n) {
    const int guess = (std::bit_width(n) * 1233) >> 12; // floor(bits * log10(2)), maybe one less
    return guess + 1 - (n < kPow10[guess] ? 1 : 0);
}

// How a value of at least 1 with biased exponent b (127 <= b < 151), in
// [2^(b-127), 2^(b-126)), is rounded to seven significant digits with D decimals shown:
// below the bit pattern `threshold` (a power of ten) it has one digit before the point
// fewer than from there on. With E digits before the point, 7 - E decimals are kept
// (|x| is multiplied by 10^(7-E)) and the other D - (7 - E) decimals are zeros. Both
// choices are in the table, so that only one load stands between the bits and the
// multiplication.
struct Decade {
    std::uint32_t threshold;
    std::uint32_t scale[2]; // below, from the threshold on
    int zeros[2];
};

template <int D> constexpr std::array<Decade, 24> make_decades() {
    std::array<Decade, 24> decades{};
    for (int e = 0; e < 24; ++e) {
        int digits = 1; // of 2^e
        while (kPow10[digits] <= (std::uint64_t{1} << e)) {
            ++digits;
        }
        Decade& decade = decades[e];
        decade.threshold = std::bit_cast<std::uint32_t>(static_cast<float>(kPow10[digits]));
        for (int above = 0; above < 2; ++above) {
            const int decimals = std::clamp(kShownDigits - (digits + above), 0, D);
            decade.scale[above] = static_cast<std::uint32_t>(kPow10[decimals]);
            decade.zeros[above] = D - decimals;
        }
    }
    return decades;
}

template <int D> constexpr std::array<Decade, 24> kDecades = make_decades<D>();

// |x| rounded as the editor rounds it: digits * 10^zeros units of 10^-D, digits <= 10^7.
struct Rounded {
    std::uint32_t digits;
    int zeros;
};

// Rounds |x| (bits below 10^7, D <= 7).
//
// Below 10^(7-D) the value has at most seven digits up to the D-th decimal and is rounded
// there: the integer part of |x| * 10^D is kept. From there on it is rounded to seven
// significant digits: with E digits before the point, the integer part of
// |x| * 10^(7-E) is kept, followed by D - (7-E) zeros. Either way the rounding looks at
// the binary fraction past the kept digits.
template <int D> Rounded round_value(std::uint32_t bits) {
    static_assert(D <= kMaxFastDecimals);
    const std::uint32_t biased = bits >> 23;
    const std::uint32_t fraction = bits & 0x7fffffu;
    const std::uint64_t mantissa = biased != 0 ? (fraction | 0x800000u) : fraction;
    const int shift = biased != 0 ? 150 - static_cast<int>(biased) : 149; // |x| = m * 2^-shift
    constexpr std::uint32_t kSevenDigits = std::bit_cast<std::uint32_t>(float(kPow10[7 - D]));
    std::uint64_t scale = kPow10[D];
    int zeros = 0;
    if (bits >= kSevenDigits) { // here |x| >= 1, so shift <= 23
        const Decade& decade = kDecades<D>[biased - 127];
        const int above = bits >= decade.threshold ? 1 : 0;
        scale = decade.scale[above];
        zeros = decade.zeros[above];
    }
    const std::uint64_t scaled = mantissa * scale; // below 2^48
    // Below a tenth of the last decimal the field shows zero; every shift from 52 on
    // gives such a value.
    if (shift >= 52 || 10 * scaled < (std::uint64_t{1} << shift)) {
        return {0, 0};
    }
    const std::uint64_t kept = scaled >> shift;
    const std::uint64_t part = scaled & ((std::uint64_t{1} << shift) - 1);
    // Half up: the 17-digit rounding cannot change this (see the top of the file).
    const bool up = 2 * part >= (std::uint64_t{1} << shift);
    return {static_cast<std::uint32_t>(kept + (up ? 1 : 0)), zeros};
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
// The four pairs are worked out and looked up independently of each other, which keeps
// the chain of dependent steps short.
std::uint64_t eight_digits(std::uint32_t v) {
    const std::uint32_t pair1 = v / 1000000;
    const std::uint32_t pair2 = v / 10000 % 100;
    const std::uint32_t pair3 = v / 100 % 100;
    const std::uint32_t pair4 = v % 100;
    return std::uint64_t{kDigitPairs[pair1]} | (std::uint64_t{kDigitPairs[pair2]} << 16) |
           (std::uint64_t{kDigitPairs[pair3]} << 32) | (std::uint64_t{kDigitPairs[pair4]} << 48);
}

constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;
constexpr std::uint64_t kEightZeros = 0x3030303030303030ull;

// chars shifted towards the high bytes by n (0..8) bytes; two shifts, so that n = 8 needs
// no shift by 64.
std::uint64_t bytes_up(std::uint64_t chars, int n) {
    return (chars << (4 * n)) << (4 * n);
}

// A text of sixteen characters in two halves, first character in the lowest byte of
// `first`.
struct SixteenChars {
    std::uint64_t first;
    std::uint64_t last;
};

// The sixteen digits of r.digits * 10^r.zeros (zeros <= 7): the eight digits of
// r.digits moved r.zeros places to the left, zeros coming in from the right.
SixteenChars sixteen_digits(Rounded r) {
    const std::uint64_t digits = eight_digits(r.digits);
    const int z = r.zeros;
    return {(kEightZeros >> (8 * z)) | bytes_up(digits, 8 - z),
            (digits >> (8 * z)) | bytes_up(kEightZeros, 8 - z)};
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

// The eight places before the point as characters (first in the lowest byte): the last
// whole_digits of the digits, the places in front of them blank, and a minus sign in the
// last of those when sign is set and there is room (eight digits leave none).
std::uint64_t whole_places(std::uint64_t digits, int whole_digits, bool sign) {
    const int hidden = 8 - whole_digits;
    const std::uint64_t hidden_mask = bytes_up(1, hidden) - 1;
    const std::uint64_t places = (digits & ~hidden_mask) | (kEightBlanks & hidden_mask);
    const std::uint64_t minus = std::uint64_t{'-' ^ ' '} << ((8 * hidden - 8) & 63);
    return places ^ (minus & (std::uint64_t{0} - (sign & (hidden != 0))));
}

// Writes the text of the rounded value, whose length is at most w, right-justified in
// w >= 8 columns: the point and the decimals go to the end of the field in one store,
// then the columns in front of the point are stored from the right (which also covers
// what the first store put there).
template <int D> void write_fixed_text(char* dst, int w, bool sign, Rounded r, int whole_digits) {
    static_assert(D <= 7, "the point and the decimals fill at most one store");
    const SixteenChars text = sixteen_digits(r);
    const int before_point = w - D - 1;
    std::uint64_t whole_digits_text = text.last;
    if constexpr (D > 0) {
        whole_digits_text = (text.first >> (8 * (8 - D))) | (text.last << (8 * D));
    }
    constexpr int point_byte = 7 - D;
    constexpr std::uint64_t point_mask = std::uint64_t{0xff} << (8 * point_byte);
    store_bytes<8>(dst + w - 8,
                   (text.last & ~point_mask) | (std::uint64_t{'.'} << (8 * point_byte)));
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

// Lays out the rounded value right-justified in w columns: no zero before the point
// unless the field would otherwise hold the point alone, asterisks when it does not fit.
template <int D> void write_fixed(char* dst, int w, bool negative, Rounded r) {
    const int all_digits = decimal_digits(r.digits | 1u) + r.zeros;
    // A zero whole part is not shown, except as the lone "0" of "0." when D is 0.
    const int whole_digits = all_digits > D ? all_digits - D : (D == 0 ? 1 : 0);
    // Computed without a branch: the sign of a list of values is hard to predict.
    const bool sign = negative & (r.digits != 0);
    const int length = static_cast<int>(sign) + whole_digits + 1 + D;
    if (length > w) {
        std::memset(dst, '*', static_cast<std::size_t>(w));
        return;
    }
    constexpr int kNarrowest = 8;
    if (w < kNarrowest) { // narrow fields: lay out in eight columns, keep the last w
        char wide[kNarrowest];
        write_fixed_text<D>(wide, kNarrowest, sign, r, whole_digits);
        std::memcpy(dst, wide + (kNarrowest - w), static_cast<std::size_t>(w));
        return;
    }
    write_fixed_text<D>(dst, w, sign, r, whole_digits);
}

template <int D> void edit_fast(char* dst, std::uint32_t bits, int w) {
    write_fixed<D>(dst, w, (bits >> 31) != 0, round_value<D>(bits & 0x7fffffffu));
}

} // namespace

char* edit_real(char* dst, float x, int w, int d) {
    if (w <= 0) {
        return dst;
    }
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
    constexpr std::uint32_t kTenTo7Bits = std::bit_cast<std::uint32_t>(1.0e7f);
    if ((bits & 0x7fffffffu) >= kTenTo7Bits) {
        return edit_real_exact(dst, x, w, d);
    }
    switch (d) {
    case 0:
        edit_fast<0>(dst, bits, w);
        break;
    case 1:
        edit_fast<1>(dst, bits, w);
        break;
    case 2:
        edit_fast<2>(dst, bits, w);
        break;
    case 3:
        edit_fast<3>(dst, bits, w);
        break;
    case 4:
        edit_fast<4>(dst, bits, w);
        break;
    case 5:
        edit_fast<5>(dst, bits, w);
        break;
    case 6:
        edit_fast<6>(dst, bits, w);
        break;
    case 7:
        edit_fast<7>(dst, bits, w);
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
