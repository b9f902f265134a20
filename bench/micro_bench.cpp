// Micro-benchmarks of the field editors on values like those of a report: Fw.d output
// (fast and exact editors), Iw output, and numeric input fields as a deck holds them.
// Each benchmark cycles through a fixed table of seeded values so that branches see a
// realistic mix; items/s is fields per second.

#include "records/IntOutput.hpp"
#include "records/NumericInput.hpp"
#include "records/RealOutput.hpp"
#include "records/RealOutputExact.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace tessen;

constexpr std::size_t kTableSize = 4096; // a power of two: the index wraps with a mask
constexpr unsigned kSeed = 7;

// The kinds of value each real layout of the report carries.
enum class RealKind {
    distance,   // F9.6: interatomic distances, 0.9 to 60
    coordinate, // F12.6: coordinates, -40 to 40, some of them screened to zero
    centre,     // F10.6: a centre of mass, -5 to 5
};

std::vector<float> real_values(RealKind kind) {
    std::mt19937 rng(kSeed);
    std::uniform_real_distribution<float> distance(0.9f, 60.0f);
    std::uniform_real_distribution<float> coordinate(-40.0f, 40.0f);
    std::uniform_real_distribution<float> centre(-5.0f, 5.0f);
    std::vector<float> values(kTableSize);
    for (std::size_t i = 0; i < values.size(); ++i) {
        switch (kind) {
        case RealKind::distance:
            values[i] = i % 64 == 0 ? 0.0f : distance(rng); // the atom's own distance
            break;
        case RealKind::coordinate:
            values[i] = i % 16 == 0 ? 0.0f : coordinate(rng);
            break;
        case RealKind::centre:
            values[i] = centre(rng);
            break;
        }
    }
    return values;
}

using RealEditor = char* (*)(char*, float, int, int);

void run_real_output(benchmark::State& state, RealEditor edit, RealKind kind, int w, int d) {
    const std::vector<float> values = real_values(kind);
    char field[32];
    std::size_t i = 0;
    for (auto _ : state) {
        edit(field, values[i++ & (kTableSize - 1)], w, d);
        benchmark::DoNotOptimize(field);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * w);
}

char* fast_editor(char* dst, float x, int w, int d) {
    return edit_real_in_slack(dst, x, w, d); // field[] has the room it may use
}

char* exact_editor(char* dst, float x, int w, int d) {
    return edit_real_exact(dst, x, w, d);
}

void BM_RealOutput_F9_6(benchmark::State& state) {
    run_real_output(state, fast_editor, RealKind::distance, 9, 6);
}
void BM_RealOutput_F12_6(benchmark::State& state) {
    run_real_output(state, fast_editor, RealKind::coordinate, 12, 6);
}
void BM_RealOutput_F10_6(benchmark::State& state) {
    run_real_output(state, fast_editor, RealKind::centre, 10, 6);
}
void BM_RealOutputExact_F9_6(benchmark::State& state) {
    run_real_output(state, exact_editor, RealKind::distance, 9, 6);
}
void BM_RealOutputExact_F12_6(benchmark::State& state) {
    run_real_output(state, exact_editor, RealKind::coordinate, 12, 6);
}
void BM_RealOutputExact_F10_6(benchmark::State& state) {
    run_real_output(state, exact_editor, RealKind::centre, 10, 6);
}
BENCHMARK(BM_RealOutput_F9_6);
BENCHMARK(BM_RealOutput_F12_6);
BENCHMARK(BM_RealOutput_F10_6);
BENCHMARK(BM_RealOutputExact_F9_6);
BENCHMARK(BM_RealOutputExact_F12_6);
BENCHMARK(BM_RealOutputExact_F10_6);

// I3 as the report uses it: atom numbers 1 to 500 and axes 1 to 3, with the sentinel -1.
void BM_IntOutput_I3(benchmark::State& state) {
    std::mt19937 rng(kSeed);
    std::uniform_int_distribution<std::int32_t> atom(1, 500);
    std::vector<std::int32_t> values(kTableSize);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = i % 2 == 0 ? static_cast<std::int32_t>(i % 3) + 1 : atom(rng);
    values[kTableSize - 1] = -1;
    char field[16];
    std::size_t i = 0;
    for (auto _ : state) {
        edit_int(field, values[i++ & (kTableSize - 1)], 3);
        benchmark::DoNotOptimize(field);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_IntOutput_I3);

// Mass-record fields "(6F12.6)" as the deck generator writes them: six decimals with the
// point, and now and then a blank field or one without a point; values from -limit to limit.
std::vector<std::string> real_fields(double limit) {
    std::mt19937 rng(kSeed);
    std::uniform_real_distribution<double> value(-limit, limit);
    std::vector<std::string> fields(kTableSize);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        char text[32];
        if (i % 32 == 0)
            std::snprintf(text, sizeof text, "%12s", "");
        else if (i % 32 == 1)
            std::snprintf(text, sizeof text, "%12d", static_cast<int>(value(rng) * 1e6));
        else
            std::snprintf(text, sizeof text, "%12.6f", value(rng));
        fields[i] = text;
    }
    return fields;
}

void run_real_input(benchmark::State& state, double limit) {
    const std::vector<std::string> fields = real_fields(limit);
    std::size_t i = 0;
    for (auto _ : state) {
        std::size_t pos = 0;
        float value = 0.0f;
        FieldStatus status = read_real_field(fields[i++ & (kTableSize - 1)], pos, 12, 6, value);
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 12);
}

// Angles and masses as well: most fields have eight or nine significant digits.
void BM_RealInput_F12_6(benchmark::State& state) {
    run_real_input(state, 180.0);
}
// Bond lengths and small coordinates: at most seven significant digits, which convert to
// single precision without from_chars.
void BM_RealInput_F12_6_Short(benchmark::State& state) {
    run_real_input(state, 16.0);
}
BENCHMARK(BM_RealInput_F12_6);
BENCHMARK(BM_RealInput_F12_6_Short);

// Atom numbers "I3": 1 to 500, some blank.
void BM_IntInput_I3(benchmark::State& state) {
    std::mt19937 rng(kSeed);
    std::uniform_int_distribution<int> atom(1, 500);
    std::vector<std::string> fields(kTableSize);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        char text[8];
        if (i % 8 == 0)
            std::snprintf(text, sizeof text, "   ");
        else
            std::snprintf(text, sizeof text, "%3d", atom(rng));
        fields[i] = text;
    }
    std::size_t i = 0;
    for (auto _ : state) {
        std::size_t pos = 0;
        std::int32_t value = 0;
        FieldStatus status = read_int_field(fields[i++ & (kTableSize - 1)], pos, 3, value);
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_IntInput_I3);

} // namespace

BENCHMARK_MAIN();
