// Compares the numeric input readers with their general forms (int, float and double) on
// two sets of fields, on as many threads as asked:
//   floats    every float of both signs below 10^7, written by the F12.6 editor and read
//             back by F12.6 (a text that repeats the one before is read once).
//   digits    every 7-digit significand, 0000000 to 9999999, with a point before each of
//             its digits or after the last, or without one (d 0 to 7), a sign by turns,
//             right-justified in 12 columns.
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

// 7-digit significands [first, end), each with a point in every place and without one.
void compare_digits(std::uint64_t first, std::uint64_t end, Tally& tally) {
    std::vector<std::string> differing;
    std::uint64_t fields = 0;
    for (std::uint64_t s = first; s < end; ++s) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%07llu", static_cast<unsigned long long>(s));
        const char* sign = s % 3 == 0 ? "" : s % 3 == 1 ? "-" : "+";
        for (int place = 0; place <= 15; ++place) {
            // Places 0 to 7: a point before that digit (7: after the last one), F12.6.
            // Places 8 to 15: no point, F12.d with d = place - 8.
            const bool point = place <= 7;
            std::string number = std::string(sign) + digits;
            if (point) {
                number.insert(std::strlen(sign) + static_cast<std::size_t>(place), 1, '.');
            }
            const std::string field = std::string(kWidth - number.size(), ' ') + number;
            ++fields;
            std::string found =
                tessen::test::reader_difference(field, 0, kWidth, point ? kDecimals : place - 8);
            if (!found.empty()) {
                differing.push_back(found);
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
                 static_cast<unsigned>(threads), show, compare_digits);
    return differing == 0 ? 0 : 1;
}
