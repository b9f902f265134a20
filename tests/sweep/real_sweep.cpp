// Compares the fast Fw.d editor with the digit-by-digit one on every float of a range of
// binades, both signs, in a list of formats, on all cores. By default: every float below
// 2^24 (biased exponents 0 to 150, subnormals included), which holds all of those below
// 10^7 that the fast editor works on and the first ones it hands on, in every format the
// programs print reals with. Exit status 0 when every field agrees, 1 when one differs,
// 2 on a usage error.

#include "sweep/RealComparison.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using tessen::test::RealFormat;

constexpr const char* kUsage =
    "usage: tessen_real_sweep [--binades FIRST-LAST] [--stride N] [--formats W.D,...]\n"
    "                         [--threads N] [--show N] [--progress SECONDS]\n"
    "  --binades   biased exponents swept, 0-255 (default 0-150: every float below 2^24)\n"
    "  --stride    every N-th bit pattern only (default 1: all of them)\n"
    "  --formats   the Fw.d items compared (default 12.6,9.6,10.6,13.6,48.6)\n"
    "  --threads   worker threads (default: all cores)\n"
    "  --show      how many of the lowest differing fields to print (default 10)\n"
    "  --progress  seconds between progress lines (default 10)\n";

struct Options {
    unsigned first_binade = 0;
    unsigned last_binade = 150;
    std::uint64_t stride = 1;
    std::vector<RealFormat> formats{std::begin(tessen::test::kProgramRealFormats),
                                    std::end(tessen::test::kProgramRealFormats)};
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    std::size_t show = 10;
    unsigned progress_seconds = 10;
};

bool parse_unsigned(const std::string& text, unsigned long long limit, unsigned long long& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 12) {
        return false;
    }
    value = std::stoull(text);
    return value <= limit;
}

bool parse_formats(const std::string& text, std::vector<RealFormat>& formats) {
    formats.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        const std::size_t point = item.find('.');
        unsigned long long w = 0;
        unsigned long long d = 0;
        if (point == std::string::npos ||
            !parse_unsigned(item.substr(0, point), tessen::test::kMaxComparedWidth, w) ||
            !parse_unsigned(item.substr(point + 1), 99, d) || w == 0) {
            return false;
        }
        formats.push_back({static_cast<int>(w), static_cast<int>(d)});
        start = comma + 1;
    }
    return !formats.empty();
}

bool parse_options(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        const std::string value = argv[++i];
        unsigned long long number = 0;
        if (name == "--binades") {
            const std::size_t dash = value.find('-');
            unsigned long long last = 0;
            if (dash == std::string::npos || !parse_unsigned(value.substr(0, dash), 255, number) ||
                !parse_unsigned(value.substr(dash + 1), 255, last) || last < number) {
                return false;
            }
            options.first_binade = static_cast<unsigned>(number);
            options.last_binade = static_cast<unsigned>(last);
        } else if (name == "--stride") {
            if (!parse_unsigned(value, 1u << 31, number) || number == 0) {
                return false;
            }
            options.stride = number;
        } else if (name == "--formats") {
            if (!parse_formats(value, options.formats)) {
                return false;
            }
        } else if (name == "--threads") {
            if (!parse_unsigned(value, 1024, number) || number == 0) {
                return false;
            }
            options.threads = static_cast<unsigned>(number);
        } else if (name == "--show") {
            if (!parse_unsigned(value, 1000000, number)) {
                return false;
            }
            options.show = number;
        } else if (name == "--progress") {
            if (!parse_unsigned(value, 86400, number) || number == 0) {
                return false;
            }
            options.progress_seconds = static_cast<unsigned>(number);
        } else {
            return false;
        }
    }
    return true;
}

// The differing fields with the lowest bit patterns, whichever thread met them first.
class Findings {
  public:
    explicit Findings(std::size_t limit) : limit_(limit) {}

    void add(std::uint32_t bits, const std::string& text) {
        const std::lock_guard<std::mutex> lock(mutex_);
        found_.emplace_back(bits, text);
        std::sort(found_.begin(), found_.end());
        if (found_.size() > limit_) {
            found_.resize(limit_);
        }
    }

    std::vector<std::pair<std::uint32_t, std::string>> lowest() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return found_;
    }

  private:
    mutable std::mutex mutex_;
    std::size_t limit_;
    std::vector<std::pair<std::uint32_t, std::string>> found_;
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!parse_options(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    constexpr std::uint64_t kNegative = std::uint64_t{1} << 31;
    const std::uint64_t first = std::uint64_t{options.first_binade} << 23;
    const std::uint64_t end = std::uint64_t{options.last_binade + 1} << 23;
    const std::uint64_t count = (end - first + options.stride - 1) / options.stride; // per sign
    // Work is handed out in chunks of this many bit patterns of each sign.
    constexpr std::uint64_t kChunk = 1 << 16;
    const std::uint64_t chunks = (count + kChunk - 1) / kChunk;

    std::printf("sweep: biased exponents %u-%u, stride %llu, both signs: %llu values; formats",
                options.first_binade, options.last_binade,
                static_cast<unsigned long long>(options.stride),
                static_cast<unsigned long long>(2 * count));
    for (const RealFormat f : options.formats) {
        std::printf(" F%d.%d", f.w, f.d);
    }
    std::printf("; %u threads\n", options.threads);
    std::fflush(stdout);

    const auto start = std::chrono::steady_clock::now();
    std::atomic<std::uint64_t> next_chunk{0};
    std::atomic<std::uint64_t> values_done{0};
    std::atomic<std::uint64_t> mismatches{0};
    std::atomic<unsigned> workers_left{options.threads};
    Findings findings(options.show);

    auto work = [&] {
        for (;;) {
            const std::uint64_t chunk = next_chunk.fetch_add(1);
            if (chunk >= chunks) {
                break;
            }
            const std::uint64_t from = first + chunk * kChunk * options.stride;
            const std::uint64_t to =
                std::min(end, first + std::min(count, (chunk + 1) * kChunk) * options.stride);
            std::uint64_t found = 0;
            for (const std::uint64_t sign : {std::uint64_t{0}, kNegative}) {
                found += tessen::test::compare_range(
                    from + sign, to + sign, options.stride, options.formats,
                    [&](std::uint32_t bits, const std::string& text) { findings.add(bits, text); });
            }
            mismatches += found;
            values_done += 2 * ((to - from + options.stride - 1) / options.stride);
        }
        --workers_left;
    };
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < options.threads; ++i) {
        workers.emplace_back(work);
    }

    auto seconds_since_start = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    double next_report = options.progress_seconds;
    while (workers_left > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (seconds_since_start() >= next_report && workers_left > 0) {
            const std::uint64_t done = values_done;
            std::printf("  %5.1f %%  %llu of %llu values, %llu differing fields, %.0f s\n",
                        100.0 * static_cast<double>(done) / static_cast<double>(2 * count),
                        static_cast<unsigned long long>(done),
                        static_cast<unsigned long long>(2 * count),
                        static_cast<unsigned long long>(mismatches.load()), seconds_since_start());
            std::fflush(stdout);
            next_report += options.progress_seconds;
        }
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    const double wall = seconds_since_start();

    for (const auto& [bits, text] : findings.lowest()) {
        std::printf("differs: %s\n", text.c_str());
    }
    const std::uint64_t values = values_done;
    std::printf("values %llu, fields compared %llu, differing fields %llu, wall time %.1f s\n",
                static_cast<unsigned long long>(values),
                static_cast<unsigned long long>(values * options.formats.size()),
                static_cast<unsigned long long>(mismatches.load()), wall);
    std::puts(mismatches == 0 ? "result: the editors agree on every field"
                              : "result: the editors differ");
    return mismatches == 0 ? 0 : 1;
}
