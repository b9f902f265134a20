#pragma once

// One blank and the field F9.6 of a value from 0 up to 100, the distance check's field,
// inline: it is edited for every pair of atoms.

#include "records/DigitText.hpp"

#include <bit>
#include <cstdint>

namespace tessen {

// One blank and the field F9.6 of x, for a value x >= 0 below 100 (distances): ten
// characters at dst, stored as sixteen bytes, of which the last six are scratch. Gives
// the bytes edit_real gives. False, with nothing stored, for any other value.
//
// The rounding of edit_real for 0 <= x < 100 in F9.6, in double precision: below 10 at
// the sixth decimal, from 10 on at the seventh significant digit (the fifth decimal,
// followed by a zero). y = x * 10^6 or x * 10^5 is exact (24 bits times at most 20), and
// so is y + 1/2 from y >= 1/2 on: y = m * 2^-s with m < 2^24 needs at most 45 bits from
// its leading one down to 2^-s. Below 1/2 the sum may round, but it stays below 1 (y is
// at least 2^-44 away from 1/2), so the integer part is 0 either way. The truncated sum
// is then the value rounded half up, as edit_real rounds it; values under a tenth of the
// last decimal, which edit_real shows as zero, give 0 here too.
inline bool edit_blank_and_f9_6(char* dst, float x) {
    using namespace digit_text;
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
    constexpr std::uint32_t kHundredBits = std::bit_cast<std::uint32_t>(100.0f);
    if (bits >= kHundredBits) { // a sign, 100 or more, or not a number
        return false;
    }
    const bool below_ten = x < 10.0f;
    const double scaled = double(x) * (below_ten ? 1.0e6 : 1.0e5) + 0.5;
    const auto kept = static_cast<std::uint32_t>(scaled);
    const std::uint32_t units = below_ten ? kept : 10 * kept;
    if (units >= 100000000) { // rounded up to 100: ten characters
        return false;
    }
    // The digits of units are the tens, the ones and six decimals: " TO.DDDDDD", with
    // the tens blank below 10 and the ones too below 1.
    const std::uint64_t digits = eight_digits(units);
    const std::uint64_t whole = (digits & 0xffff) ^ (units < 10000000 ? 0x10 : 0) ^
                                (units < 1000000 ? 0x1000 : 0); // '0' ^ 0x10 is ' '
    store_word(dst, ' ' | (whole << 8) | (std::uint64_t{'.'} << 24) | ((digits >> 16) << 32));
    store_word(dst + 8, digits >> 48);
    return true;
}

} // namespace tessen
