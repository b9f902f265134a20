#pragma once

// Decimal digits as characters packed in a 64-bit word, first character in the lowest
// byte, and the word stores the field editors build their fields with.

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tessen::digit_text {

// 10^0 .. 10^19.
inline constexpr std::array<std::uint64_t, 20> kPow10 = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& p : powers) {
        p = power;
        power *= 10; // wraps after the last entry, harmlessly
    }
    return powers;
}();

inline constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;
inline constexpr std::uint64_t kEightZeros = 0x3030303030303030ull;

// Number of decimal digits of n >= 1.
inline int decimal_digits(std::uint64_t n) {
    const int guess = (std::bit_width(n) * 1233) >> 12; // floor(bits * log10(2)), maybe one less
    return guess + 1 - (n < kPow10[guess] ? 1 : 0);
}

// The eight decimal digits of v < 10^8 as characters, the first in the lowest byte, by
// splitting in lanes of one word: two halves of four digits, each into two pairs, each
// pair into its two digits. Every lane stays below its width, so no lane spills into the
// next, and the quotients come from multiplications exact for the lane's range
// (n * 5243 >> 19 is n / 100 for n < 10^4, n * 103 >> 10 is n / 10 for n < 100).
inline std::uint64_t eight_digits(std::uint32_t v) {
    const std::uint64_t halves = (v / 10000) | (std::uint64_t{v % 10000} << 32);
    const std::uint64_t hundreds = ((halves * 5243) >> 19) & 0x0000007f0000007full;
    const std::uint64_t pairs = hundreds | ((halves - 100 * hundreds) << 16);
    const std::uint64_t tens = ((pairs * 103) >> 10) & 0x000f000f000f000full;
    const std::uint64_t digits = tens | ((pairs - 10 * tens) << 8);
    return digits + kEightZeros;
}

// chars shifted towards the high bytes by n (0..8) bytes; two shifts, so that n = 8 needs
// no shift by 64.
constexpr std::uint64_t bytes_up(std::uint64_t chars, int n) {
    return (chars << (4 * n)) << (4 * n);
}

// The mask of the lowest n (0..8) bytes of a word.
constexpr std::uint64_t low_bytes(int n) {
    return bytes_up(1, n) - 1;
}

// Stores the eight characters of a word at out, lowest byte first.
inline void store_word(char* out, std::uint64_t chars) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &chars, 8);
    } else {
        for (int i = 0; i < 8; ++i) {
            out[i] = static_cast<char>(chars >> (8 * i));
        }
    }
}

} // namespace tessen::digit_text
