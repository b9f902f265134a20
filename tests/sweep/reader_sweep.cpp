// Compares the numeric input readers with their general forms (int, float and double) on
// two sets of fields, on as many threads as asked:
//   floats    every float of both signs below 10^7, written by the F12.6 editor and read
//             back by F12.6 (a text that repeats the one before is read once).
//   digits    every 7-digit significand, 0000000 to 9999999, with a point before each of
//             its digits or after the last, or without one (d 0 to 7), a sign by turns,
//             right-justified in 12 columns.
//   long      8- and 9-digit significands in steps of 1009, the same places and implied
//             decimals (d 0 to 9), F12.d: the float readers take them through one double
//             operation.
//   midpoints float midpoints N * 2^t (N odd, 25 bits, every 61st; t from -12 to 38) written
//             out exactly in at most 19 columns, and beside each the decimals one unit of its
//             last digit below and above it and one tenth of that below and above it, and the
//             15- and 16-digit decimals just below and above midpoints that have more digits:
//             the fields where a double operation can land on a midpoint, which the reader
//             must refuse to round from.
// Exit status 0 when every field agrees, 1 when one differs, 2 on a usage error.

#include "records/RealOutput.hpp"
#include "sweep/ReaderComparison.hpp"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: tessen_reader_sweep [--threads N] [--show N]\n";

constexpr int kWidth = 12;
constexpr int kDecimals = 6;
constexpr std::uint64_t kFloatEnd = 0x4B189680; // the bits of 10^7
constexpr std::uint64_t kSignificands = 10'000'000;
constexpr std::uint64_t kChunk = 1 << 16;
constexpr std::uint64_t kLongStep = 1009;
constexpr std::uint64_t kLongFirst = 10'000'000;
constexpr std::uint64_t kLongCount = (1'000'000'000 - kLongFirst) / kLongStep;
constexpr std::uint64_t kMidpointStep = 61;
constexpr std::uint64_t kMidpointCount = (std::uint64_t{1} << 23) / kMidpointStep;
constexpr int kMidpointWidth = 19;

// What one part of the sweep found, gathered from all threads.
class Tally {
  public:
    explicit Tally(std::size_t show) : show_(show) {}

    void add(std::uint64_t fields, const std::vector<std::string>& differing) {
        const std::lock_guard<std::mutex> lock(mutex_);
        fields_ += fields;
        differing_ += differing.size();
        for (const std::string& text : differing) {
            if (shown_ < show_) {
                std::printf("  differs: %s\n", text.c_str());
                ++shown_;
            }
        }
    }
    std::uint64_t fields() const { return fields_; }
    std::uint64_t differing() const { return differing_; }

  private:
    std::mutex mutex_;
    std::size_t show_;
    std::size_t shown_ = 0;
    std::uint64_t fields_ = 0;
    std::uint64_t differing_ = 0;
};

// Runs compare(first, end, tally) over [0, count) in chunks on the given threads; prints
// the part's outcome and returns the number of differing fields.
template <class Compare>
std::uint64_t run_part(const char* name, std::uint64_t count, unsigned threads, std::size_t show,
                       Compare compare) {
    const auto start = std::chrono::steady_clock::now();
    Tally tally(show);
    std::atomic<std::uint64_t> next{0};
    auto work = [&] {
        for (std::uint64_t first; (first = next.fetch_add(kChunk)) < count;) {
            compare(first, std::min(count, first + kChunk), tally);
        }
    };
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < threads; ++i) {
        workers.emplace_back(work);
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %llu values, %llu fields read, %llu differing, %.1f s\n", name,
                static_cast<unsigned long long>(count),
                static_cast<unsigned long long>(tally.fields()),
                static_cast<unsigned long long>(tally.differing()), seconds);
    std::fflush(stdout);
    return tally.differing();
}

// Floats with bits [first, end) of both signs, in F12.6; a text that repeats the one
// before it is not read again.
void compare_floats(std::uint64_t first, std::uint64_t end, Tally& tally) {
    std::vector<std::string> differing;
    std::uint64_t fields = 0;
    for (const std::uint32_t sign : {0u, 0x80000000u}) {
        char previous[kWidth] = {};
        for (std::uint64_t bits = first; bits < end; ++bits) {
            char field[kWidth];
            tessen::edit_real(field, std::bit_cast<float>(static_cast<std::uint32_t>(bits) | sign),
                              kWidth, kDecimals);
            if (bits != first && std::memcmp(field, previous, kWidth) == 0) {
                continue;
            }
            std::memcpy(previous, field, kWidth);
            ++fields;
            std::string found = tessen::test::reader_difference(std::string_view(field, kWidth), 0,
                                                                kWidth, kDecimals);
            if (!found.empty()) {
                differing.push_back(found);
            }
        }
    }
    tally.add(fields, differing);
}

// The significand s written with `digits` digits (leading zeros kept), a point in every place
// and without one, a sign by turns, right-justified in 12 columns.
void compare_places(std::uint64_t s, int digits, std::vector<std::string>& differing,
                    std::uint64_t& fields) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*llu", digits, static_cast<unsigned long long>(s));
    const char* sign = s % 3 == 0 ? "" : s % 3 == 1 ? "-" : "+";
    for (int place = 0; place <= 2 * digits + 1; ++place) {
        // Places 0 to digits: a point before that digit (digits: after the last one), F12.6.
        // Then no point, F12.d with d from 0 to digits.
        const bool point = place <= digits;
        std::string number = std::string(sign) + text;
        if (point) {
            number.insert(std::strlen(sign) + static_cast<std::size_t>(place), 1, '.');
        }
        const std::string field = std::string(kWidth - number.size(), ' ') + number;
        ++fields;
        std::string found = tessen::test::reader_difference(field, 0, kWidth,
                                                            point ? kDecimals : place - digits - 1);
        if (!found.empty()) {
            differing.push_back(found);
        }
    }
}

// 7-digit significands [first, end).
void compare_digits(std::uint64_t first, std::uint64_t end, Tally& tally) {
    std::vector<std::string> differing;
    std::uint64_t fields = 0;
    for (std::uint64_t s = first; s < end; ++s) {
        compare_places(s, 7, differing, fields);
    }
    tally.add(fields, differing);
}

// 8- and 9-digit significands kLongFirst + i * kLongStep for i in [first, end).
void compare_long(std::uint64_t first, std::uint64_t end, Tally& tally) {
    std::vector<std::string> differing;
    std::uint64_t fields = 0;
    for (std::uint64_t i = first; i < end; ++i) {
        const std::uint64_t s = kLongFirst + i * kLongStep;
        compare_places(s, s < 100'000'000 ? 8 : 9, differing, fields);
    }
    tally.add(fields, differing);
}

// Whether significand * 10^-decimals, converted by one double operation, lands exactly on a
// float midpoint: the fields whose float the reader must not round from the double.
bool double_lands_on_midpoint(std::uint64_t significand, int decimals) {
    if (significand > (std::uint64_t{1} << 53) || decimals > 22) {
        return false;
    }
    double power = 1;
    for (int k = 0; k < decimals; ++k) {
        power *= 10;
    }
    const double q = static_cast<double>(significand) / power;
    return (std::bit_cast<std::uint64_t>(q) & ((std::uint64_t{1} << 29) - 1)) == std::uint64_t{1}
                                                                                     << 28;
}

std::atomic<std::uint64_t> g_on_midpoint{0};

// Wide enough for N * 10^22 (N below 2^25).
__extension__ typedef unsigned __int128 Wide;

// The decimal significand * 10^-decimals as a field of kMidpointWidth columns, when it fits.
bool compare_decimal(bool negative, std::uint64_t significand, int decimals,
                     std::vector<std::string>& differing, std::uint64_t& fields) {
    std::string number = std::to_string(significand);
    if (decimals > 0) {
        if (number.size() <= static_cast<std::size_t>(decimals)) {
            number.insert(0, static_cast<std::size_t>(decimals) + 1 - number.size(), '0');
        }
        number.insert(number.size() - static_cast<std::size_t>(decimals), 1, '.');
    }
    if (negative) {
        number.insert(0, 1, '-');
    }
    if (number.size() > kMidpointWidth) {
        return false;
    }
    const std::string field = std::string(kMidpointWidth - number.size(), ' ') + number;
    ++fields;
    if (double_lands_on_midpoint(significand, decimals)) {
        g_on_midpoint.fetch_add(1, std::memory_order_relaxed);
    }
    std::string found = tessen::test::reader_difference(field, 0, kMidpointWidth, 0);
    if (!found.empty()) {
        differing.push_back(found);
    }
    return true;
}

// Midpoints N * 2^t, N = 2^24 + 1 + 2 * i * kMidpointStep for i in [first, end), with their
// decimal neighbours.
void compare_midpoints(std::uint64_t first, std::uint64_t end, Tally& tally) {
    std::vector<std::string> differing;
    std::uint64_t fields = 0;
    for (std::uint64_t i = first; i < end; ++i) {
        const std::uint64_t n = (std::uint64_t{1} << 24) + 1 + 2 * i * kMidpointStep;
        for (int t = -12; t <= 38; ++t) {
            // N * 2^t exactly: N << t, or N * 5^-t with -t decimals.
            std::uint64_t significand = n;
            int decimals = 0;
            if (t >= 0) {
                significand <<= t;
            } else {
                for (; decimals < -t; ++decimals) {
                    significand *= 5;
                }
            }
            const bool negative = (i + static_cast<std::uint64_t>(t)) % 2 == 1;
            compare_decimal(negative, significand, decimals, differing, fields);
            compare_decimal(negative, significand - 1, decimals, differing, fields);
            compare_decimal(negative, significand + 1, decimals, differing, fields);
            compare_decimal(negative, significand * 10 - 1, decimals + 1, differing, fields);
            compare_decimal(negative, significand * 10 + 1, decimals + 1, differing, fields);
        }
        // The decimals of 15 and 16 digits just below and above midpoints with more digits:
        // floor and ceiling of M * 10^k for M = N * 2^t, t < 0. Those from 2^50 on lie within
        // one unit in the last place of a double from M, where a double operation can round
        // onto M although the decimal is not M.
        for (int t = -40; t < 0; ++t) {
            Wide scaled = n;
            for (int k = 0; k <= 22; ++k, scaled *= 10) {
                const Wide floor = scaled >> -t;
                if (floor >= Wide{1} << 53) {
                    break;
                }
                if (floor < Wide{1} << 49 || (floor << -t) == scaled) {
                    continue;
                }
                const bool negative = (i + static_cast<std::uint64_t>(k)) % 2 == 1;
                const auto low = static_cast<std::uint64_t>(floor);
                compare_decimal(negative, low, k, differing, fields);
                compare_decimal(negative, low + 1, k, differing, fields);
            }
        }
    }
    tally.add(fields, differing);
}

bool parse_count(const char* text, unsigned long limit, unsigned long& value) {
    char* end = nullptr;
    value = std::strtoul(text, &end, 10);
    return *text >= '0' && *text <= '9' && *end == '\0' && value <= limit;
}

} // namespace

int main(int argc, char** argv) {
    unsigned long threads = std::max(1u, std::thread::hardware_concurrency());
    unsigned long show = 10;
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        bool good = i + 1 < argc;
        if (good && name == "--threads") {
            good = parse_count(argv[i + 1], 1024, threads) && threads > 0;
        } else if (good && name == "--show") {
            good = parse_count(argv[i + 1], 1000000, show);
        } else {
            good = false;
        }
        if (!good) {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    std::printf("reader sweep on %lu threads\n", threads);
    const std::uint64_t differing =
        run_part("float bit patterns below 10^7, each of both signs, F12.6", kFloatEnd,
                 static_cast<unsigned>(threads), show, compare_floats) +
        run_part("7-digit significands, 8 point places and 8 implied decimals", kSignificands,
                 static_cast<unsigned>(threads), show, compare_digits) +
        run_part("8- and 9-digit significands in steps of 1009, every place and implied d",
                 kLongCount, static_cast<unsigned>(threads), show, compare_long) +
        run_part("float midpoints N * 2^t and their decimal neighbours", kMidpointCount,
                 static_cast<unsigned>(threads), show, compare_midpoints);
    std::printf("fields whose double operation lands on a float midpoint: %llu\n",
                static_cast<unsigned long long>(g_on_midpoint.load()));
    return differing == 0 ? 0 : 1;
}
