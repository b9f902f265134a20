#include "fit/LeastSquares.hpp"

#include "companion/CommandError.hpp"

#include <Eigen/SVD>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <utility>

namespace tessen::fit {

namespace {

using companion::CommandError;
using Eigen::MatrixXd;
using Eigen::VectorXd;

// The model at one point, with its residuals and Jacobian divided row by row by the
// uncertainties: the unweighted problem that every step solves.
struct Point {
    VectorXd p, f;
    MatrixXd jacobian;
    VectorXd residuals; // (y - f) / s
    MatrixXd weighted;  // the Jacobian, row i divided by s_i
    double cost = 0;    // chi2, the sum of the squared weighted residuals
};

// The weighted Jacobian at a point with each column scaled to unit length, so that
// parameters of different units (A, degrees, model constants) are comparable, and what the
// steps and the statistics need of it.
struct Linearisation {
    VectorXd scale; // the length of each weighted column (1 for a column of zeros)
    // An SVD, because the rank, the condition number and the directions the data cannot
    // separate are its singular values and vectors, and one decomposition gives the damped
    // step for every damping tried. BDCSVD: as accurate as JacobiSVD (which it runs itself
    // below 16 columns) and much faster on a large molecule's hundred columns.
    Eigen::BDCSVD<MatrixXd> svd;
    VectorXd projected; // U^T r: the weighted residuals along the left singular vectors
    std::size_t rank = 0;
};

// The damping never grows beyond this multiple of the largest squared singular value: the
// step would then be below 1e-16 of the Gauss-Newton step and change nothing.
constexpr double kLargestDamping = 1e16;
// The damping tried first after a step that raised the cost, relative to the largest
// squared singular value.
constexpr double kFirstDamping = 1e-4;

std::string parameter_name(const Problem& problem, std::size_t k) {
    if (k < problem.parameter_names.size())
        return problem.parameter_names[k];
    return "parameter " + std::to_string(k + 1);
}

std::string number_text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

// Sizes, uncertainties and start values that a caller must get right; fewer data than
// parameters is the user's input error.
void check_problem(const Problem& problem, const VectorXd& start) {
    if (!problem.evaluate)
        throw std::invalid_argument("least squares: no model to evaluate");
    if (problem.sigma.size() != problem.observed.size())
        throw std::invalid_argument("least squares: one uncertainty per observed value needed");
    if (!problem.observed.allFinite() || !start.allFinite())
        throw std::invalid_argument("least squares: observed and start values must be finite");
    if (!problem.sigma.allFinite() || (problem.sigma.array() <= 0).any())
        throw std::invalid_argument("least squares: uncertainties must be finite and above 0");
    if (start.size() == 0)
        throw CommandError(2, "nothing to fit: no parameter is varied");
    if (problem.observed.size() < start.size())
        throw CommandError(2, "fewer measured values (" + std::to_string(problem.observed.size()) +
                                  ") than parameters (" + std::to_string(start.size()) + ")");
}

// Evaluates the model at p into point; false where a value or derivative is not finite.
bool evaluate_at(const Problem& problem, const VectorXd& p, Point& point) {
    const Eigen::Index n = problem.observed.size();
    point.p = p;
    problem.evaluate(p, point.f, point.jacobian);
    if (point.f.size() != n || point.jacobian.rows() != n || point.jacobian.cols() != p.size())
        throw std::invalid_argument("least squares: the model gave values of the wrong size");
    point.residuals = (problem.observed - point.f).cwiseQuotient(problem.sigma);
    point.weighted = problem.sigma.cwiseInverse().asDiagonal() * point.jacobian;
    point.cost = point.residuals.squaredNorm();
    return point.f.allFinite() && point.weighted.allFinite() && std::isfinite(point.cost);
}

Linearisation linearise(const Point& point, double rank_threshold) {
    Linearisation lin;
    lin.scale = point.weighted.colwise().stableNorm().transpose();
    lin.scale = (lin.scale.array() > 0).select(lin.scale, 1.0);
    lin.svd.compute(point.weighted * lin.scale.cwiseInverse().asDiagonal(),
                    Eigen::ComputeThinU | Eigen::ComputeThinV);
    lin.projected = lin.svd.matrixU().transpose() * point.residuals;
    const VectorXd& s = lin.svd.singularValues();
    while (lin.rank < static_cast<std::size_t>(s.size()) && s[lin.rank] > rank_threshold * s[0])
        ++lin.rank;
    return lin;
}

// The Levenberg-Marquardt step for damping lambda, in the parameters' own units: the
// minimiser of |r - J_s q|^2 + lambda |q|^2 over the singular directions the data
// determine, q the step in the unit-column scaling. lambda = 0 is the Gauss-Newton step.
VectorXd step_for(const Linearisation& lin, double lambda) {
    const VectorXd& s = lin.svd.singularValues();
    VectorXd along = VectorXd::Zero(s.size());
    for (std::size_t i = 0; i < lin.rank; ++i)
        along[i] = s[i] * lin.projected[i] / (s[i] * s[i] + lambda);
    return (lin.svd.matrixV() * along).cwiseQuotient(lin.scale);
}

// The decrease of chi2 that the linearised model predicts for that step.
double predicted_decrease(const Linearisation& lin, double lambda) {
    const VectorXd& s = lin.svd.singularValues();
    double decrease = 0;
    for (std::size_t i = 0; i < lin.rank; ++i) {
        const double kept = s[i] * s[i] / (s[i] * s[i] + lambda);
        decrease += lin.projected[i] * lin.projected[i] * kept * (2 - kept);
    }
    return decrease;
}

// diag((J_w^T J_w)^-1), unscaled by chi2, over the directions the data determine.
VectorXd unscaled_variances(const Linearisation& lin) {
    const VectorXd& s = lin.svd.singularValues();
    const MatrixXd& v = lin.svd.matrixV();
    VectorXd variances = VectorXd::Zero(v.rows());
    for (std::size_t i = 0; i < lin.rank; ++i)
        variances += (v.col(i) / s[i]).cwiseAbs2();
    return variances.cwiseQuotient(lin.scale.cwiseAbs2());
}

// (J_w^T J_w)^-1 = D^-1 V S^-2 V^T D^-1, for a full rank.
MatrixXd unscaled_covariance(const Linearisation& lin) {
    const MatrixXd v = lin.svd.matrixV() * lin.svd.singularValues().cwiseInverse().asDiagonal();
    const MatrixXd scaled = lin.scale.cwiseInverse().asDiagonal() * v;
    return scaled * scaled.transpose();
}

// The factor that turns the unscaled covariance into the scaled one: chi2 / (n - p), 0
// when n == p.
double variance_factor(const Point& point) {
    const Eigen::Index n = point.f.size(), p = point.p.size();
    return n > p ? point.cost / static_cast<double>(n - p) : 0.0;
}

// How far a step is from converged, parameter by parameter: |step_k| over tol times the
// largest of |p_k|, its standard error, and the change of p_k that moves the weighted
// model by the typical weighted datum (so that a parameter whose value and error are both
// 0, as with planted exact data, still converges). Below 1 everywhere is converged.
VectorXd step_excess(const VectorXd& step, const Point& point, const Linearisation& lin,
                     double datum_scale, double tolerance) {
    const VectorXd errors = (unscaled_variances(lin) * variance_factor(point)).cwiseSqrt();
    VectorXd excess(step.size());
    for (Eigen::Index k = 0; k < step.size(); ++k) {
        const double bound =
            tolerance * std::max({std::abs(point.p[k]), errors[k], datum_scale / lin.scale[k]});
        excess[k] = bound > 0 ? std::abs(step[k]) / bound
                              : (step[k] == 0 ? 0.0 : std::numeric_limits<double>::max());
    }
    return excess;
}

// How far chi2 at a point can be off by the rounding of the model's values: a few hundred
// units in the last place of each datum, times its residual. A step whose predicted
// decrease is below it cannot be judged by comparing chi2 values.
double rounding_level(const Problem& problem, const Point& point) {
    constexpr double kModelRounding = 1e-13;
    return kModelRounding *
           point.residuals.cwiseAbs().dot(problem.observed.cwiseQuotient(problem.sigma).cwiseAbs());
}

// Whether the trial point is taken: it lowers chi2, or the step is so small that chi2
// cannot tell (near the minimum of data with residuals) and it does not raise chi2 by more
// than its rounding.
bool takes_step(const Point& current, const Point& trial, double predicted, double rounding) {
    return trial.cost < current.cost ||
           (predicted <= rounding && trial.cost <= current.cost + rounding);
}

// After a step that lowered chi2: the Gauss-Newton model is trusted again where it
// predicted the decrease well, damped less where it did fairly, more where it did poorly.
double damping_after_success(double lambda, double ratio) {
    if (ratio > 0.75)
        return 0;
    if (ratio > 0.25)
        return lambda / 3;
    return lambda * 2;
}

// The parameters with the largest share in the null space of the scaled weighted Jacobian
// (the right singular vectors of the singular values below the threshold). The share,
// the squared length of a parameter's unit vector projected on that space, does not
// depend on which basis of the space the SVD returns.
std::vector<std::size_t> undetermined_parameters(const Linearisation& lin) {
    const MatrixXd& v = lin.svd.matrixV();
    const VectorXd share =
        v.rightCols(v.cols() - static_cast<Eigen::Index>(lin.rank)).rowwise().squaredNorm();
    const double largest = share.maxCoeff();
    std::vector<std::size_t> named;
    for (Eigen::Index k = 0; k < share.size(); ++k)
        if (share[k] >= 0.25 * largest)
            named.push_back(static_cast<std::size_t>(k));
    return named;
}

std::string rank_deficiency_reason(const Problem& problem, const Summary& s,
                                   double rank_threshold) {
    std::string names, values;
    for (std::size_t k : s.undetermined)
        names += (names.empty() ? "" : ", ") + parameter_name(problem, k);
    for (Eigen::Index i = static_cast<Eigen::Index>(s.rank); i < s.singular_values.size(); ++i)
        values += (values.empty() ? "" : ", ") + number_text(s.singular_values[i]);
    return "the data do not determine " + names + " (rank " + std::to_string(s.rank) + " of " +
           std::to_string(s.p) + "; singular values below " + number_text(rank_threshold) +
           " of the largest: " + values + ")";
}

// Values, residuals and statistics at the last point.
Summary summarise(const Problem& problem, const Point& point, const Linearisation& lin) {
    Summary s{};
    s.n = static_cast<std::size_t>(point.f.size());
    s.p = static_cast<std::size_t>(point.p.size());
    s.values = point.p;
    s.calculated = point.f;
    s.residuals = problem.observed - point.f;
    s.chi2 = s.final_cost = point.cost;
    s.deviation = std::sqrt(variance_factor(point));
    s.singular_values = lin.svd.singularValues();
    const double smallest = s.singular_values[s.singular_values.size() - 1];
    s.condition_number = smallest > 0 ? s.singular_values[0] / smallest : 0.0;
    s.rank = lin.rank;
    // The hat matrix J (J^T J)^-1 J^T is U U^T over the determined directions.
    s.leverage =
        lin.svd.matrixU().leftCols(static_cast<Eigen::Index>(lin.rank)).rowwise().squaredNorm();
    if (lin.rank < s.p) {
        s.undetermined = undetermined_parameters(lin);
        return s;
    }
    const MatrixXd unscaled = unscaled_covariance(lin);
    const VectorXd root = unscaled.diagonal().cwiseSqrt();
    s.correlation = root.cwiseInverse().asDiagonal() * unscaled * root.cwiseInverse().asDiagonal();
    s.covariance = unscaled * variance_factor(point);
    s.errors = s.covariance.diagonal().cwiseSqrt();
    return s;
}

// Gauss-Newton steps damped by Levenberg and Marquardt: the current point and its
// linearisation, the damping, and the steps tried so far.
class Iteration {
  public:
    Iteration(const Problem& problem, const Options& options, const VectorXd& start)
        : problem_(problem), options_(options),
          datum_scale_(problem.observed.cwiseQuotient(problem.sigma).norm() /
                       std::sqrt(static_cast<double>(problem.observed.size()))) {
        if (!evaluate_at(problem, start, current_))
            throw CommandError(1, "the model cannot be evaluated at the start values");
        initial_cost_ = current_.cost;
        lin_ = linearise(current_, options.rank_threshold);
    }

    // Steps until converged, out of iterations, or no step lowers chi2: the outcome and why.
    std::pair<Outcome, std::string> run() {
        for (;;) {
            const VectorXd excess = step_excess(step_for(lin_, 0), current_, lin_, datum_scale_,
                                                options_.step_tolerance);
            Eigen::Index worst = 0;
            if (excess.maxCoeff(&worst) < 1) {
                // The last Gauss-Newton step is taken too: one evaluation more, and the
                // values are then accurate well below the tolerance.
                try_step(0);
                return {Outcome::converged, "converged after " + std::to_string(iterations_) +
                                                " iterations: every step below " +
                                                number_text(options_.step_tolerance) +
                                                " of its parameter's value or standard error"};
            }
            if (iterations_ >= options_.max_iterations)
                return {Outcome::not_converged,
                        "not converged after " + std::to_string(iterations_) +
                            " iterations: the step of " + parameter_name(problem_, worst) +
                            " is still " + number_text(excess[worst] * options_.step_tolerance) +
                            " of its value or standard error"};
            if (stalled())
                return {Outcome::not_converged,
                        "stopped after " + std::to_string(iterations_) +
                            " iterations: no step lowers the sum of squares (the model cannot be "
                            "evaluated along the step, or its derivatives are not those of its "
                            "values)"};
            if (try_step(lambda_)) {
                growth_ = 2;
            } else {
                lambda_ = std::max(lambda_ * growth_, kFirstDamping * largest_squared());
                growth_ *= 2;
            }
        }
    }

    const Point& point() const { return current_; }
    const Linearisation& linearisation() const { return lin_; }
    int iterations() const { return iterations_; }
    double initial_cost() const { return initial_cost_; }

  private:
    double largest_squared() const {
        const double largest = lin_.svd.singularValues()[0];
        return largest * largest;
    }

    bool stalled() const { return lambda_ > kLargestDamping * largest_squared(); }

    // Evaluates the model at the current point plus the step for that damping, and moves
    // there when the step is taken.
    bool try_step(double damping) {
        ++iterations_;
        Point trial;
        const double predicted = predicted_decrease(lin_, damping);
        if (!evaluate_at(problem_, current_.p + step_for(lin_, damping), trial) ||
            !takes_step(current_, trial, predicted, rounding_level(problem_, current_)))
            return false;
        const double ratio =
            (current_.cost - trial.cost) / std::max(predicted, std::numeric_limits<double>::min());
        current_ = std::move(trial);
        lin_ = linearise(current_, options_.rank_threshold);
        lambda_ = damping_after_success(damping, ratio);
        return true;
    }

    const Problem& problem_;
    const Options& options_;
    const double datum_scale_;
    Point current_;
    Linearisation lin_;
    double initial_cost_ = 0;
    double lambda_ = 0, growth_ = 2;
    int iterations_ = 0;
};

} // namespace

const char* outcome_name(Outcome outcome) {
    switch (outcome) {
    case Outcome::converged:
        return "converged";
    case Outcome::not_converged:
        return "not converged";
    case Outcome::rank_deficient:
        break;
    }
    return "rank deficient";
}

Summary solve(const Problem& problem, const Eigen::VectorXd& start, const Options& options) {
    check_problem(problem, start);
    Iteration iteration(problem, options, start);
    const auto [outcome, reason] = iteration.run();
    Summary summary = summarise(problem, iteration.point(), iteration.linearisation());
    summary.iterations = iteration.iterations();
    summary.initial_cost = iteration.initial_cost();
    summary.outcome = outcome;
    summary.reason = reason;
    if (summary.rank < summary.p) {
        summary.outcome = Outcome::rank_deficient;
        summary.reason = rank_deficiency_reason(problem, summary, options.rank_threshold);
    }
    return summary;
}

} // namespace tessen::fit
