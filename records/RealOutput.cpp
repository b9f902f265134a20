#include "records/RealOutput.hpp"

#include "records/DigitText.hpp"
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
// roundings at once, exactly, on the binary value m * 2^-shift (see round_value);
// everything else goes to the digit-by-digit editor, which gives the same bytes, only
// slower.
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

using namespace digit_text;

constexpr int kShownDigits = kShownSignificantDigits;
constexpr int kExactDigits = 17;
constexpr int kMaxFastDecimals = 7; // larger d goes to the digit-by-digit editor

// The bound that lets the 17-digit rounding be skipped (see the top of the file): a
// mantissa below 2^24, at most kMaxFastDecimals decimals kept, nothing under a tenth of
// the last kept digit.
static_assert(std::numeric_limits<float>::digits == 24);
static_assert((std::uint64_t{1} << 24) * kPow10[kMaxFastDecimals] * 10 < kPow10[kExactDigits]);

// How a value of at least 1 with biased exponent b (127 <= b < 151), in
// [2^(b-127), 2^(b-126)), is rounded to seven significant digits with D decimals shown:
// below the bit pattern `threshold` (a power of ten) it has one digit before the point
// fewer than from there on. With E digits before the point, 7 - E decimals are kept
// (|x| is multiplied by 10^(7-E)) and the other D - (7 - E) decimals are zeros. Both
// choices are in the table, so that only one load stands between the bits and the
// multiplication.
struct Decade {
    std::uint32_t threshold;
    double scale[2]; // below, from the threshold on
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
            decade.scale[above] = static_cast<double>(kPow10[decimals]);
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
// the binary fraction past the kept digits, and half rounds up.
//
// Both steps are done in double precision, exactly. |x| = m * 2^-s (m < 2^24) times a
// scale of at most 10^7 < 2^24 needs 48 bits: y = |x| * scale is exact. From y >= 1/2 on,
// y + 1/2 is exact too: from 2^(log2(y) + 1) down to 2^-s it spans at most
// log2(2^24 * 10^7) + 1 < 50 bits. Below 1/2, y + 1/2 may round, but not up to 1: a y
// from 1/4 on has |x| >= 10^-8 / 4, so s <= 51 and y is at least 2^-51 away from 1/2,
// far more than half a unit of 1 - 2^-53. So the integer part of y + 1/2 is y rounded
// half up; values under a tenth of the last kept digit, which the field shows as zero,
// give 0 with the rest.
template <int D> Rounded round_value(std::uint32_t bits) {
    static_assert(D <= kMaxFastDecimals);
    constexpr std::uint32_t kSevenDigits = std::bit_cast<std::uint32_t>(float(kPow10[7 - D]));
    double scale = static_cast<double>(kPow10[D]);
    int zeros = 0;
    if (bits >= kSevenDigits) { // here |x| >= 1
        const Decade& decade = kDecades<D>[(bits >> 23) - 127];
        const int above = bits >= decade.threshold ? 1 : 0;
        scale = decade.scale[above];
        zeros = decade.zeros[above];
    }
    const double y = double(std::bit_cast<float>(bits)) * scale + 0.5;
    return {static_cast<std::uint32_t>(y), zeros};
}

// A text of sixteen characters in two words, first character in the lowest byte of `first`.
struct SixteenChars {
    std::uint64_t first;
    std::uint64_t last;
};

// The last sixteen columns of the field for the rounded value: its digits
// (r.digits * 10^r.zeros < 10^16 units of 10^-D), the point before the last D of them, the
// whole digits in front of the point with the places before them blank, and a minus sign
// in the last of those when sign is set. whole_digits (<= 15 - D) counts the whole
// digits shown.
template <int D> SixteenChars field_image(Rounded r, int whole_digits, bool sign) {
    static_assert(D <= 7, "the point and the decimals lie in the last word");
    const std::uint64_t units = std::uint64_t{r.digits} * kPow10[r.zeros];
    std::uint64_t upper = kEightZeros;
    std::uint64_t lower = 0;
    if (units < 100000000) { // the usual case: below 100 with six decimals
        lower = eight_digits(static_cast<std::uint32_t>(units));
    } else {
        upper = eight_digits(static_cast<std::uint32_t>(units / 100000000));
        lower = eight_digits(static_cast<std::uint32_t>(units % 100000000));
    }
    // The sixteen digits move one place towards the front, all but the last D, which
    // leaves the place before the decimals free for the point.
    constexpr std::uint64_t kDecimals = ~low_bytes(8 - D);
    const std::uint64_t first = (upper >> 8) | (lower << 56);
    const std::uint64_t last = ((lower >> 8) & low_bytes(7 - D)) |
                               (std::uint64_t{'.'} << (8 * (7 - D))) | (lower & kDecimals);
    // Blank the places in front of the whole digits; the sign takes the last of them.
    const int blanks = 15 - D - whole_digits;
    const int first_blanks = std::min(blanks, 8);
    const int last_blanks = blanks - first_blanks;
    const std::uint64_t first_mask = low_bytes(first_blanks);
    const std::uint64_t last_mask = low_bytes(last_blanks);
    std::uint64_t out_first = (first & ~first_mask) | (kEightBlanks & first_mask);
    std::uint64_t out_last = (last & ~last_mask) | (kEightBlanks & last_mask);
    // The minus sign replaces the blank at place blanks - 1 (in whichever word), when
    // there is such a place.
    const std::uint64_t minus_first = std::uint64_t{'-' ^ ' '} << ((8 * (first_blanks - 1)) & 63);
    const std::uint64_t minus_last = std::uint64_t{'-' ^ ' '} << ((8 * (last_blanks - 1)) & 63);
    const bool in_last = last_blanks > 0;
    const bool in_first = !in_last & (first_blanks > 0);
    out_first ^= minus_first & (std::uint64_t{0} - (sign & in_first));
    out_last ^= minus_last & (std::uint64_t{0} - (sign & in_last));
    return {out_first, out_last};
}

// Stores the last w (9..16) columns of a sixteen-column image at dst, as two words; the
// bytes after the field are scratch.
void store_last_columns(char* dst, int w, SixteenChars image) {
    const int drop = 16 - w;
    store_word(dst, bytes_up(image.last, 8 - drop) | (image.first >> (8 * drop)));
    store_word(dst + 8, image.last >> (8 * drop));
}

// Writes the rounded value right-justified in w >= 1 columns at dst, storing sixteen
// bytes from dst on when w < 16: the caller provides that room (kRealFieldSlack).
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
    const SixteenChars image = field_image<D>(r, whole_digits, sign);
    if (w >= 16) {
        std::memset(dst, ' ', static_cast<std::size_t>(w - 16));
        if (sign && whole_digits + D == 15) { // no blank left in the image for the sign
            dst[w - 17] = '-';
        }
        store_word(dst + w - 16, image.first);
        store_word(dst + w - 8, image.last);
        return;
    }
    // The field is the last w columns of the image: moved down by 16 - w bytes and
    // stored whole, the bytes after the field are scratch.
    if (w <= 8) {
        store_word(dst, image.last >> (8 * (8 - w)));
        return;
    }
    store_last_columns(dst, w, image);
}

// The report's own case: six decimals, a value that rounds below 100 (units < 10^8) and
// a field of 9 to 16 columns. The sixteen-column image is blanks, the sign place, the
// tens, the ones, the point and six decimals; the tens are blank below 10, the ones too
// below 1, and a minus sign takes the place before the first digit shown. False when
// the field does not fit in that shape (a negative value from 10 on in nine columns).
bool write_two_digit_f6(char* dst, int w, bool negative, std::uint32_t units) {
    if (w < 9 || w > 16 || (w == 9 && negative && units >= 10000000)) {
        return false;
    }
    const std::uint64_t digits = eight_digits(units);
    const std::uint64_t tens = units < 10000000 ? ' ' : (digits & 0xff);
    const std::uint64_t ones = units < 1000000 ? ' ' : ((digits >> 8) & 0xff);
    // The sign's place: 6 before tens, 7 at the tens, 8 at the ones.
    const int sign_place =
        8 - static_cast<int>(units >= 1000000) - static_cast<int>(units >= 10000000);
    const std::uint64_t minus = (std::uint64_t{'-' ^ ' '} << (8 * (sign_place & 7))) &
                                (std::uint64_t{0} - (negative & (units != 0)));
    std::uint64_t first = (kEightBlanks & low_bytes(7)) | (tens << 56);
    std::uint64_t last = ones | (std::uint64_t{'.'} << 8) | (digits & ~low_bytes(2));
    if (sign_place == 8) {
        last ^= minus;
    } else {
        first ^= minus;
    }
    store_last_columns(dst, w, {first, last});
    return true;
}

template <int D> void edit_fast(char* dst, std::uint32_t bits, int w) {
    const bool negative = (bits >> 31) != 0;
    const Rounded r = round_value<D>(bits & 0x7fffffffu);
    if constexpr (D == 6) {
        const std::uint32_t units = r.digits * (r.zeros == 0 ? 1u : 10u);
        if (r.zeros <= 1 && units < 100000000 && write_two_digit_f6(dst, w, negative, units)) {
            return;
        }
    }
    write_fixed<D>(dst, w, negative, r);
}

// The report's most common field, F w.6 (9 <= w <= 16) of a value below 100, as
// edit_fast<6> writes it, with nothing else on the way: round_value<6> keeps six
// decimals below 10 and five (then a zero) from 10 on, with the same arithmetic. False
// when the value is not of that kind (100 or more, or rounding up to it), or its field
// not of that shape.
inline bool edit_f6_below_100(char* dst, std::uint32_t bits, int w) {
    constexpr std::uint32_t kTenBits = std::bit_cast<std::uint32_t>(10.0f);
    constexpr std::uint32_t kHundredBits = std::bit_cast<std::uint32_t>(100.0f);
    const std::uint32_t magnitude = bits & 0x7fffffffu;
    if (magnitude >= kHundredBits)
        return false;
    const bool from_ten = magnitude >= kTenBits;
    const double y = double(std::bit_cast<float>(magnitude)) * (from_ten ? 1.0e5 : 1.0e6) + 0.5;
    const std::uint32_t units = static_cast<std::uint32_t>(y) * (from_ten ? 10u : 1u);
    return units < 100000000 && write_two_digit_f6(dst, w, (bits >> 31) != 0, units);
}

// Every other field.
[[gnu::noinline]] char* edit_other_real(char* dst, float x, int w, int d) {
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

} // namespace

char* edit_real_in_slack(char* dst, float x, int w, int d) {
    if (d == 6 && edit_f6_below_100(dst, std::bit_cast<std::uint32_t>(x), w))
        return dst + w;
    return edit_other_real(dst, x, w, d);
}

char* edit_real(char* dst, float x, int w, int d) {
    if (w >= kRealFieldSlack) {
        return edit_real_in_slack(dst, x, w, d);
    }
    char field[kRealFieldSlack];
    edit_real_in_slack(field, x, w, d);
    std::memcpy(dst, field, static_cast<std::size_t>(std::max(w, 0)));
    return dst + std::max(w, 0);
}

std::string edit_real(float x, int w, int d) {
    std::string text(static_cast<std::size_t>(std::max(w, 0)), ' ');
    edit_real(text.data(), x, w, d);
    return text;
}

} // namespace tessen
