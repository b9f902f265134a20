#pragma once

// The fast Fw.d editor against the digit-by-digit one, value by value: shared by the unit
// tests, which check sampled ranges, and by the exhaustive sweep (`make sweep`).

#include "records/BlankAndF96.hpp"
#include "records/RealOutput.hpp"
#include "records/RealOutputExact.hpp"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>

namespace tessen::test {

struct RealFormat {
    int w;
    int d;
};

// The real items of the report (F12.6, F9.6, F10.6, F13.6) and of tessen-xyz (F48.6).
inline constexpr RealFormat kProgramRealFormats[] = {{12, 6}, {9, 6}, {10, 6}, {13, 6}, {48, 6}};

inline constexpr int kMaxComparedWidth = 64;

// Empty when both editors give the same field for the float with these bits; otherwise
// the value (bits and hexadecimal) and both fields.
inline std::string real_mismatch(std::uint32_t bits, RealFormat f) {
    char text[2 * kMaxComparedWidth + 96];
    if (f.w < 1 || f.w > kMaxComparedWidth) {
        std::snprintf(text, sizeof text, "F%d.%d: width outside 1..%d", f.w, f.d,
                      kMaxComparedWidth);
        return text;
    }
    const float x = std::bit_cast<float>(bits);
    char fast[kMaxComparedWidth];
    char exact[kMaxComparedWidth];
    edit_real(fast, x, f.w, f.d);
    edit_real_exact(exact, x, f.w, f.d);
    // F9.6 also takes the distance check's editor, which lays out a blank and the field
    // for values from 0 up to 100 and leaves every other value to edit_real.
    char slot[kRealFieldSlack];
    if (f.w == 9 && f.d == 6 && edit_blank_and_f9_6(slot, x) &&
        (slot[0] != ' ' || std::memcmp(slot + 1, exact, 9) != 0)) {
        std::memcpy(fast, slot + 1, 9);
    } else if (std::memcmp(fast, exact, static_cast<std::size_t>(f.w)) == 0) {
        return {};
    }
    std::snprintf(text, sizeof text, "bits %08x (%a) F%d.%d: fast \"%.*s\" exact \"%.*s\"", bits,
                  static_cast<double>(x), f.w, f.d, f.w, fast, f.w, exact);
    return text;
}

// Compares the floats with bits first, first + stride, ... below end in every format;
// report(bits, text) is called for each field that differs. Returns the number of those.
template <class Report>
std::uint64_t compare_range(std::uint64_t first, std::uint64_t end, std::uint64_t stride,
                            std::span<const RealFormat> formats, Report&& report) {
    std::uint64_t mismatches = 0;
    for (std::uint64_t bits = first; bits < end; bits += stride) {
        for (const RealFormat f : formats) {
            std::string found = real_mismatch(static_cast<std::uint32_t>(bits), f);
            if (!found.empty()) {
                ++mismatches;
                report(static_cast<std::uint32_t>(bits), found);
            }
        }
    }
    return mismatches;
}

} // namespace tessen::test
