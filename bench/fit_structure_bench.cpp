// tessen-fit's fit in process (the program's start, which loads Open Babel, left out): r0
// on constants planted from a random chain molecule's own structure, started from values
// moved off it. Two sizes: 13 atoms, 10 parameters, 9 isotopologues (27 data); 60 atoms,
// 120 parameters, 60 isotopologues (180 data). The peak resident memory is given before
// and after the runs, to show that it stays flat.

#include "fit/MomentModel.hpp"
#include "fit/ParameterMap.hpp"
#include "fit/StructureFit.hpp"
#include "fit/VaryList.hpp"
#include "model/DeckMolecule.hpp"
#include "records/ByteStreams.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/resource.h>

namespace {

using namespace tessen;

// A small deterministic generator (the figures must not depend on the library's).
struct Random {
    std::uint64_t state;
    double uniform(double low, double high) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return low + (high - low) * static_cast<double>(state >> 11) / 9007199254740992.0;
    }
};

constexpr double kCarbon = 12.0, kCarbon13 = 13.003354838;
constexpr double kHydrogen = 1.007825032, kDeuterium = 2.014101778;

// A chain of n atoms (every third a hydrogen), each placed on the three before it.
std::string chain_deck(int n, Random& random) {
    char counts[32];
    std::snprintf(counts, sizeof counts, "%7d%4d\n", n, 0);
    std::string deck = std::string(" -9\n").append(counts).append("CHAIN\nBENCH\nCHAIN\n");
    for (int i = 1; i <= n; ++i) {
        const double mass = i % 3 == 0 ? kHydrogen : kCarbon;
        char record[96];
        std::snprintf(
            record, sizeof record, "%3d%3d%3d%3d%12.6f%12.6f%12.6f%12.9f\n", i, i > 1 ? i - 1 : 0,
            i > 2 ? i - 2 : 0, i > 3 ? i - 3 : 0, i > 1 ? random.uniform(1.0, 1.6) : 0.0,
            i > 2 ? random.uniform(100, 120) : 0.0, i > 3 ? random.uniform(-180, 180) : 0.0, mass);
        deck += record;
    }
    return deck + "999\n";
}

// The first `count` coordinates of the chain as a --vary list.
std::string vary_list(int n, int count) {
    std::string list;
    int added = 0;
    for (int i = 2; i <= n && added < count; ++i)
        for (const char* prefix : {"r", "a", "d"}) {
            if ((prefix[0] == 'a' && i < 3) || (prefix[0] == 'd' && i < 4) || added == count)
                continue;
            if (!list.empty())
                list += ',';
            list.append(prefix).append(std::to_string(i));
            ++added;
        }
    return list;
}

struct Case {
    model::DeckMolecule molecule;
    fit::MomentModel model;
};

// The parent and single substitutions of the first atoms, with constants planted from the
// deck's structure; the fit starts from every parameter moved off it.
std::unique_ptr<Case> make_case(int atoms, int parameters, int species) {
    Random random{7};
    MemorySource source(chain_deck(atoms, random));
    auto c = std::make_unique<Case>();
    c->molecule = model::read_deck_molecules(source, "chain").front();
    const auto params =
        fit::map_parameters(fit::parse_vary_list(vary_list(atoms, parameters)), c->molecule);
    std::vector<fit::Species> list;
    const std::vector<double>& own = c->molecule.mass_sets.front().masses;
    for (int k = 0; k < species; ++k) {
        fit::Species s;
        s.label = std::to_string(k);
        s.masses = own;
        if (k > 0)
            s.masses[k - 1] = own[k - 1] == kHydrogen ? kDeuterium : kCarbon13;
        s.parent = k == 0;
        list.push_back(s);
    }
    fit::MomentModel planted = fit::set_up_model(fit::ModelKind::r0, fit::DataKind::moments,
                                                 c->molecule, params, {}, "bench");
    std::vector<std::vector<double>> masses;
    for (const fit::Species& s : list)
        masses.push_back(s.masses);
    const auto moments = fit::model_moments(planted, fit::start_point(planted), masses);
    for (std::size_t k = 0; k < list.size(); ++k)
        for (std::size_t g = 0; g < 3; ++g)
            list[k].constants[g] = 505379.00914143614 / moments[k].moments[g];
    for (std::size_t k = 0; k < params.size(); ++k)
        for (const fit::TiedCoordinate& member : params[k].members) {
            const double value = model::coordinate_value(c->molecule.records, member.ref);
            const double shift = member.ref.kind == model::CoordinateKind::length ? 0.005 : 0.2;
            model::set_coordinate(c->molecule.records, member.ref, value + shift);
        }
    c->model = fit::set_up_model(fit::ModelKind::r0, fit::DataKind::moments, c->molecule, params,
                                 list, "bench");
    return c;
}

long peak_memory_kb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void fit_chain(benchmark::State& state) {
    const auto c = make_case(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                             static_cast<int>(state.range(2)));
    fit::ModelFit first = fit::fit_model(c->model);
    const long before = peak_memory_kb();
    for (auto _ : state) {
        fit::ModelFit fit = fit::fit_model(c->model);
        benchmark::DoNotOptimize(fit.summary.deviation);
    }
    state.counters["converged"] = first.done ? 1 : 0;
    state.counters["iterations"] = first.summary.iterations;
    state.counters["deviation"] = first.summary.deviation;
    state.counters["condition"] = first.summary.condition_number;
    state.SetLabel(first.summary.reason);
    state.counters["peak_kb_before"] = static_cast<double>(before);
    state.counters["peak_kb_after"] = static_cast<double>(peak_memory_kb());
}

// One evaluation of the model and its Jacobian, the part of each step that is this code's.
void evaluate_chain(benchmark::State& state) {
    const auto c = make_case(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                             static_cast<int>(state.range(2)));
    const fit::Problem problem = fit::fit_problem(c->model);
    const Eigen::VectorXd p = fit::start_point(c->model);
    Eigen::VectorXd f;
    Eigen::MatrixXd jacobian;
    for (auto _ : state) {
        problem.evaluate(p, f, jacobian);
        benchmark::DoNotOptimize(jacobian.data());
    }
}

BENCHMARK(evaluate_chain)->Args({13, 10, 9})->Args({60, 120, 60})->Unit(benchmark::kMillisecond);
BENCHMARK(fit_chain)->Args({13, 10, 9})->Args({60, 120, 60})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
