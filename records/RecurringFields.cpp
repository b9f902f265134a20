#include "records/RecurringFields.hpp"

#include "records/RealOutput.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <stdexcept>

namespace tessen {

namespace {

struct CachedField {
    std::uint32_t bits = 0;
    int w = 0; // 0: empty
    int d = 0;
    EditedField field{};
};

constexpr std::size_t kCachedFields = 64; // a power of two

std::size_t slot_of(std::uint32_t bits, int w, int d) {
    const std::uint32_t key =
        bits ^ (static_cast<std::uint32_t>(w) << 8) ^ static_cast<std::uint32_t>(d);
    return (key * 0x9E3779B1u) >> 26; // the top six bits of a Fibonacci hash
}

} // namespace

EditedField recurring_field(float value, int w, int d) {
    static_assert(kCachedFields == std::size_t{1} << (32 - 26));
    if (w < 1 || w > kRealFieldSlack)
        throw std::logic_error("recurring field wider than an edited field holds");
    thread_local std::array<CachedField, kCachedFields> cache;
    const auto bits = std::bit_cast<std::uint32_t>(value);
    CachedField& entry = cache[slot_of(bits, w, d)];
    if (entry.w != w || entry.d != d || entry.bits != bits) {
        entry.bits = bits;
        entry.w = w;
        entry.d = d;
        edit_real_in_slack(entry.field.data(), value, w, d);
    }
    return entry.field;
}

} // namespace tessen
