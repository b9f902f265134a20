// The least-squares solver of tessen-fit on synthetic smooth problems of a structure fit's
// sizes: 10 parameters and 27 residuals (a 13-atom molecule, nine isotopologues) and 120
// parameters and 180 residuals (a 60-atom molecule). Each residual is a linear form plus
// half the square of another in the parameters, with columns of two scales (as lengths
// and angles are), fitted from 1% off the planted values to data with a little noise.
// Times one whole solve; the model program's own timing, with its moments, comes apart.

#include "fit/LeastSquares.hpp"

#include <benchmark/benchmark.h>

#include <random>

namespace {

using Eigen::MatrixXd;
using Eigen::VectorXd;
using tessen::fit::Problem;

constexpr unsigned kSeed = 11;

struct Synthetic {
    Problem problem;
    VectorXd start;
};

Synthetic synthetic(Eigen::Index parameters, Eigen::Index residuals) {
    std::mt19937 rng(kSeed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    const auto random_matrix = [&] {
        MatrixXd m(residuals, parameters);
        for (Eigen::Index j = 0; j < parameters; ++j)
            for (Eigen::Index i = 0; i < residuals; ++i)
                m(i, j) = uniform(rng) * (j % 3 == 0 ? 100.0 : 1.0);
        return m;
    };
    const MatrixXd linear = random_matrix(), quadratic = random_matrix() / 10;
    const auto model = [linear, quadratic](const VectorXd& p, VectorXd& f, MatrixXd& jacobian) {
        const VectorXd inner = quadratic * p;
        f = linear * p + 0.5 * inner.cwiseAbs2();
        jacobian = linear + inner.asDiagonal() * quadratic;
    };
    VectorXd planted(parameters), start(parameters), f;
    MatrixXd unused;
    for (Eigen::Index k = 0; k < parameters; ++k) {
        planted[k] = 1.25 + 0.75 * uniform(rng);
        start[k] = planted[k] * (1 + 0.01 * uniform(rng));
    }
    model(planted, f, unused);
    Synthetic s;
    s.problem.parameter_names.resize(static_cast<std::size_t>(parameters), "p");
    s.problem.observed = f + VectorXd::NullaryExpr(residuals, [&] { return 1e-3 * uniform(rng); });
    s.problem.sigma = VectorXd::Ones(residuals);
    s.problem.evaluate = model;
    s.start = start;
    return s;
}

void BM_Solve(benchmark::State& state) {
    const Synthetic s = synthetic(state.range(0), state.range(1));
    tessen::fit::Summary summary{};
    for (auto _ : state) {
        summary = tessen::fit::solve(s.problem, s.start);
        benchmark::DoNotOptimize(summary.chi2);
    }
    state.counters["iterations"] = summary.iterations;
    state.counters["converged"] = summary.outcome == tessen::fit::Outcome::converged;
    state.counters["condition"] = summary.condition_number;
}

BENCHMARK(BM_Solve)->Args({10, 27})->Args({120, 180})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
