#include "fit/LeastSquares.hpp"

#include "companion/CommandError.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tessen::fit {
namespace {

using Eigen::MatrixXd;
using Eigen::VectorXd;

// A problem of n data from a model of x: f(x; p) and its gradient in p, point by point.
Problem curve_problem(const std::vector<double>& x, const std::vector<double>& y,
                      const std::vector<double>& s, std::vector<std::string> names,
                      std::function<double(double, const VectorXd&, VectorXd&)> model) {
    Problem problem;
    problem.parameter_names = std::move(names);
    problem.observed = Eigen::Map<const VectorXd>(y.data(), static_cast<Eigen::Index>(y.size()));
    problem.sigma = Eigen::Map<const VectorXd>(s.data(), static_cast<Eigen::Index>(s.size()));
    problem.evaluate = [x, model](const VectorXd& p, VectorXd& f, MatrixXd& jacobian) {
        f.resize(static_cast<Eigen::Index>(x.size()));
        jacobian.resize(f.size(), p.size());
        VectorXd gradient(p.size());
        for (std::size_t i = 0; i < x.size(); ++i) {
            const auto row = static_cast<Eigen::Index>(i);
            f[row] = model(x[i], p, gradient);
            jacobian.row(row) = gradient.transpose();
        }
    };
    return problem;
}

Problem line_problem(const std::vector<double>& x, const std::vector<double>& y,
                     const std::vector<double>& s) {
    return curve_problem(x, y, s, {"a", "b"}, [](double xi, const VectorXd& p, VectorXd& g) {
        g << 1, xi;
        return p[0] + p[1] * xi;
    });
}

// A weighted straight line against the closed-form sums of every textbook: values,
// scaled errors, correlation and leverages.
TEST(LeastSquares, WeightedStraightLineMatchesTheClosedForm) {
    const std::vector<double> x{0, 1, 2, 3, 4, 5}, y{1.1, 2.9, 5.2, 7.1, 8.8, 11.3},
        s{0.1, 0.2, 0.1, 0.3, 0.2, 0.1};
    double S = 0, Sx = 0, Sy = 0, Sxx = 0, Sxy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double w = 1 / (s[i] * s[i]);
        S += w, Sx += w * x[i], Sy += w * y[i], Sxx += w * x[i] * x[i], Sxy += w * x[i] * y[i];
    }
    const double delta = S * Sxx - Sx * Sx;
    const double a = (Sxx * Sy - Sx * Sxy) / delta, b = (S * Sxy - Sx * Sy) / delta;
    double chi2 = 0;
    for (std::size_t i = 0; i < x.size(); ++i)
        chi2 += std::pow((y[i] - a - b * x[i]) / s[i], 2);

    const Summary fit = solve(line_problem(x, y, s), VectorXd::Zero(2));
    ASSERT_EQ(fit.outcome, Outcome::converged) << fit.reason;
    EXPECT_LE(fit.iterations, 2); // the step, then the last one that changes nothing
    EXPECT_NEAR(fit.values[0], a, 1e-12);
    EXPECT_NEAR(fit.values[1], b, 1e-12);
    EXPECT_NEAR(fit.chi2, chi2, 1e-10);
    EXPECT_NEAR(fit.deviation, std::sqrt(chi2 / 4), 1e-12);
    EXPECT_NEAR(fit.errors[0], std::sqrt(Sxx / delta * chi2 / 4), 1e-12);
    EXPECT_NEAR(fit.errors[1], std::sqrt(S / delta * chi2 / 4), 1e-12);
    EXPECT_NEAR(fit.covariance(0, 1), -Sx / delta * chi2 / 4, 1e-12);
    EXPECT_NEAR(fit.correlation(0, 1), -Sx / std::sqrt(S * Sxx), 1e-12);
    EXPECT_DOUBLE_EQ(fit.correlation(1, 1), 1.0);
    for (std::size_t i = 0; i < x.size(); ++i) {
        const auto row = static_cast<Eigen::Index>(i);
        const double leverage = (Sxx - 2 * x[i] * Sx + x[i] * x[i] * S) / (delta * s[i] * s[i]);
        EXPECT_NEAR(fit.leverage[row], leverage, 1e-12);
        EXPECT_NEAR(fit.residuals[row], y[i] - a - b * x[i], 1e-12);
        EXPECT_NEAR(fit.calculated[row], a + b * x[i], 1e-12);
    }
    EXPECT_EQ(fit.rank, 2u);
    EXPECT_TRUE(fit.undetermined.empty());
}

// y = b1 (1 - exp(-b2 x)): the data and certified results of NIST's Misra1a reference
// problem, started from its first start values. b1 and b2 differ by six orders of
// magnitude, which the unit-column scaling must not take for a rank deficiency.
Problem misra1a() {
    const std::vector<double> x{77.6,  114.9, 141.1, 190.8, 239.9, 289.0, 332.8,
                                378.4, 434.8, 477.3, 536.8, 593.1, 689.1, 760.0};
    const std::vector<double> y{10.07, 14.73, 17.94, 23.93, 29.61, 35.18, 40.02,
                                44.82, 50.76, 55.05, 61.01, 66.40, 75.47, 81.78};
    return curve_problem(x, y, std::vector<double>(x.size(), 1.0), {"b1", "b2"},
                         [](double xi, const VectorXd& p, VectorXd& g) {
                             const double e = std::exp(-p[1] * xi);
                             g << 1 - e, p[0] * xi * e;
                             return p[0] * (1 - e);
                         });
}

TEST(LeastSquares, NonlinearReferenceProblemGivesTheCertifiedValuesAndErrors) {
    const Summary fit = solve(misra1a(), (VectorXd(2) << 500, 1e-4).finished());
    ASSERT_EQ(fit.outcome, Outcome::converged) << fit.reason;
    EXPECT_NEAR(fit.values[0] / 2.3894212918e+02, 1, 1e-9);
    EXPECT_NEAR(fit.values[1] / 5.5015643181e-04, 1, 1e-9);
    EXPECT_NEAR(fit.errors[0] / 2.7070075241e+00, 1, 1e-7);
    EXPECT_NEAR(fit.errors[1] / 7.2668688436e-06, 1, 1e-7);
    EXPECT_NEAR(fit.chi2 / 1.2455138894e-01, 1, 1e-8);
    EXPECT_NEAR(fit.deviation / 1.0187876330e-01, 1, 1e-8);
    EXPECT_GT(fit.initial_cost, fit.final_cost);
    EXPECT_EQ(fit.rank, 2u);
    EXPECT_GT(fit.condition_number, 1);
    EXPECT_NEAR(fit.leverage.sum(), 2, 1e-12); // the trace of a hat matrix is its rank
}

TEST(LeastSquares, StopsAtTheIterationLimitAndSaysWhichStepIsStillLarge) {
    Options options;
    options.max_iterations = 1;
    const Summary fit = solve(misra1a(), (VectorXd(2) << 500, 1e-4).finished(), options);
    EXPECT_EQ(fit.outcome, Outcome::not_converged);
    EXPECT_EQ(fit.iterations, 1);
    EXPECT_NE(fit.reason.find("not converged after 1 iterations: the step of b"), std::string::npos)
        << fit.reason;
    EXPECT_EQ(fit.errors.size(), 2); // the rank is full: the errors where it stood
}

// Exact data from a = 2.5, k = 0.7, c = 0 from far away: recovered to the last digits,
// although c is 0 and so are all the errors (the convergence test must still be met).
TEST(LeastSquares, PlantedExactDataAreFittedBackWithAZeroParameter) {
    std::vector<double> x, y;
    for (int i = 0; i < 12; ++i) {
        x.push_back(0.5 * i);
        y.push_back(2.5 * std::exp(-0.7 * 0.5 * i));
    }
    const Problem problem = curve_problem(x, y, std::vector<double>(x.size(), 1.0), {"a", "k", "c"},
                                          [](double xi, const VectorXd& p, VectorXd& g) {
                                              const double e = std::exp(-p[1] * xi);
                                              g << e, -p[0] * xi * e, 1;
                                              return p[0] * e + p[2];
                                          });
    const Summary fit = solve(problem, (VectorXd(3) << 1, 0.1, 1).finished());
    ASSERT_EQ(fit.outcome, Outcome::converged) << fit.reason;
    EXPECT_NEAR(fit.values[0], 2.5, 1e-12);
    EXPECT_NEAR(fit.values[1], 0.7, 1e-12);
    EXPECT_NEAR(fit.values[2], 0.0, 1e-12);
    EXPECT_LT(fit.deviation, 1e-12);
    EXPECT_LT(fit.errors.maxCoeff(), 1e-12);
}

// Rosenbrock's valley as two residuals, n == p: the minimum (1, 1) with no errors, and a
// leverage of 1 for each datum.
TEST(LeastSquares, AsManyDataAsParametersGiveValuesWithoutErrors) {
    Problem problem;
    problem.parameter_names = {"x", "y"};
    problem.observed = VectorXd::Zero(2);
    problem.sigma = VectorXd::Ones(2);
    problem.evaluate = [](const VectorXd& p, VectorXd& f, MatrixXd& j) {
        f = (VectorXd(2) << 10 * (p[0] * p[0] - p[1]), p[0] - 1).finished();
        j = (MatrixXd(2, 2) << 20 * p[0], -10, 1, 0).finished();
    };
    const Summary fit = solve(problem, (VectorXd(2) << -1.2, 1).finished());
    ASSERT_EQ(fit.outcome, Outcome::converged) << fit.reason;
    EXPECT_NEAR(fit.values[0], 1, 1e-10);
    EXPECT_NEAR(fit.values[1], 1, 1e-10);
    EXPECT_EQ(fit.n, 2u);
    EXPECT_EQ(fit.p, 2u);
    EXPECT_EQ(fit.deviation, 0);
    EXPECT_EQ(fit.errors, VectorXd::Zero(2));
    EXPECT_EQ(fit.covariance, MatrixXd::Zero(2, 2));
    // J = (20 -10; 1 0) at the minimum: (J^T J)^-1 is (100 200; 200 401) / 100.
    EXPECT_NEAR(fit.correlation(0, 1), 200 / std::sqrt(100 * 401.0), 1e-9);
    EXPECT_NEAR(fit.leverage[0], 1, 1e-12);
    EXPECT_NEAR(fit.leverage[1], 1, 1e-12);
}

// f = sqrt(p): the first Gauss-Newton step from 1 goes below 0, where the model has no
// value; the solver must take a shorter step instead of carrying a NaN on.
TEST(LeastSquares, AStepWhereTheModelHasNoValueIsShortened) {
    Problem problem;
    problem.observed = VectorXd::Constant(1, 0.01);
    problem.sigma = VectorXd::Ones(1);
    problem.evaluate = [](const VectorXd& p, VectorXd& f, MatrixXd& j) {
        f = VectorXd::Constant(1, std::sqrt(p[0]));
        j = MatrixXd::Constant(1, 1, 0.5 / std::sqrt(p[0]));
    };
    const Summary fit = solve(problem, VectorXd::Ones(1));
    ASSERT_EQ(fit.outcome, Outcome::converged) << fit.reason;
    EXPECT_NEAR(fit.values[0], 1e-4, 1e-15);
}

// u and v act only as u + v, and w not at all: the three are named, and no errors given.
TEST(LeastSquares, ARankDeficiencyNamesTheParametersTheDataCannotSeparate) {
    const std::vector<double> x{1, 2, 3, 4, 5}, y{3.1, 5.0, 7.2, 8.9, 11.0};
    const Problem problem =
        curve_problem(x, y, std::vector<double>(x.size(), 0.1), {"u", "c", "v", "w"},
                      [](double xi, const VectorXd& p, VectorXd& g) {
                          g << xi, 1, xi, 0;
                          return (p[0] + p[2]) * xi + p[1];
                      });
    const Summary fit = solve(problem, VectorXd::Ones(4));
    EXPECT_EQ(fit.outcome, Outcome::rank_deficient);
    EXPECT_EQ(fit.rank, 2u);
    EXPECT_EQ(fit.undetermined, (std::vector<std::size_t>{0, 2, 3}));
    EXPECT_EQ(fit.reason.rfind("the data do not determine u, v, w (rank 2 of 4; singular values "
                               "below 1e-10 of the largest: ",
                               0),
              0u)
        << fit.reason;
    EXPECT_EQ(fit.errors.size(), 0);
    EXPECT_EQ(fit.covariance.size(), 0);
    ASSERT_EQ(fit.singular_values.size(), 4);
    EXPECT_LT(fit.singular_values[2], 1e-10 * fit.singular_values[0]);
    // What the data do determine is still fitted: the line's slope and intercept.
    EXPECT_NEAR(fit.values[0] + fit.values[2], 1.97, 1e-9);
    EXPECT_NEAR(fit.values[1], 1.13, 1e-9);
    EXPECT_NEAR(fit.leverage.sum(), 2, 1e-12);
}

// A model whose derivatives have the wrong sign never lowers chi2: the solver stops and
// does not call that converged.
TEST(LeastSquares, WrongDerivativesStopWithoutConverging) {
    Problem problem = line_problem({0, 1, 2}, {1, 3, 5}, {1, 1, 1});
    const auto right = problem.evaluate;
    problem.evaluate = [right](const VectorXd& p, VectorXd& f, MatrixXd& j) {
        right(p, f, j);
        j = -j;
    };
    const Summary fit = solve(problem, VectorXd::Zero(2));
    EXPECT_EQ(fit.outcome, Outcome::not_converged);
    EXPECT_NE(fit.reason.find("no step lowers the sum of squares"), std::string::npos)
        << fit.reason;
    EXPECT_LT(fit.iterations, 200) << fit.iterations;
    EXPECT_NEAR(fit.final_cost, fit.initial_cost, 1e-9);
}

int status_of(const Problem& problem, const VectorXd& start) {
    try {
        solve(problem, start);
    } catch (const companion::CommandError& error) {
        return error.status();
    }
    return 0;
}

TEST(LeastSquares, TooFewDataNoParameterAndNoStartingValueAreRefused) {
    const Problem line = line_problem({0}, {1}, {1});
    EXPECT_EQ(status_of(line, VectorXd::Zero(2)), 2); // n < p
    EXPECT_EQ(status_of(line, VectorXd()), 2);        // p == 0
    Problem undefined = line;
    undefined.evaluate = [](const VectorXd&, VectorXd& f, MatrixXd& j) {
        f = VectorXd::Constant(1, std::nan(""));
        j = MatrixXd::Zero(1, 1);
    };
    EXPECT_EQ(status_of(undefined, VectorXd::Zero(1)), 1);
}

} // namespace
} // namespace tessen::fit
