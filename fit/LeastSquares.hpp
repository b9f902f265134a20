#pragma once

#include <Eigen/Core>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tessen::fit {

// A weighted nonlinear least-squares problem: minimise sum_i ((y_i - f_i(p)) / s_i)^2.
struct Problem {
    std::vector<std::string> parameter_names; // one per parameter, for messages
    Eigen::VectorXd observed;                 // y, n values
    Eigen::VectorXd sigma;                    // s, n values > 0 (all 1 when unweighted)
    // f(p) (n values) and its Jacobian df/dp (n x p) at p; analytic or accurate to ~1e-9.
    // A value that is not finite (a structure that cannot be built there) makes the solver
    // take a shorter step; at the start values it is a failure.
    std::function<void(const Eigen::VectorXd& p, Eigen::VectorXd& f, Eigen::MatrixXd& jacobian)>
        evaluate;
};

struct Options {
    int max_iterations = 200; // steps tried, taken or not
    // Converged: every Gauss-Newton |step_k| < tol * max(|p_k|, sigma_k); a parameter whose
    // value and error are both 0 (exact data) has a floor of the change in it that moves the
    // weighted model by a typical weighted datum.
    double step_tolerance = 1e-10;
    double rank_threshold = 1e-10; // singular value / largest singular value below it: rank
                                   // deficient
};

enum class Outcome { converged, not_converged, rank_deficient };

// What a solve found, and why it stopped. Everything is taken at the last point reached
// (values), so a fit that did not converge still shows where it stood.
struct Summary {
    Outcome outcome;
    std::string reason; // why it stopped, one line
    int iterations;
    double initial_cost, final_cost; // chi2 at start and end
    std::size_t n, p;
    // errors = sqrt(diag((J^T W J)^-1) * chi2/(n-p)), and the covariance they come from:
    // both zero when n == p (nothing is left to estimate them), both empty when the data
    // do not determine every parameter (rank < p), for they would mean nothing. The
    // correlation does not depend on chi2 and is given whenever the rank is full.
    Eigen::VectorXd values, errors;
    Eigen::MatrixXd covariance, correlation;
    double chi2, deviation;                // deviation = sqrt(chi2/(n-p)), 0 when n == p
    Eigen::VectorXd calculated, residuals; // f(p) and y - f(p) at the solution (unweighted)
    Eigen::VectorXd leverage;              // diagonal of the hat matrix of the weighted Jacobian
    Eigen::VectorXd singular_values;       // of the weighted Jacobian with unit-length columns
    double condition_number;               // largest / smallest of those; 0 when the smallest
                                           // is 0 (no finite ratio: see rank)
    std::size_t rank;                      // singular values above rank_threshold * largest
    std::vector<std::size_t> undetermined; // parameters the data cannot separate (rank
                                           // deficiency), in parameter order
};

// "converged", "not converged" or "rank deficient".
const char* outcome_name(Outcome outcome);

// Gauss-Newton steps with Levenberg-Marquardt damping from start. n < p is an input error
// (CommandError, status 2); a model that cannot be evaluated at the start values is a
// failure (CommandError, status 1).
Summary solve(const Problem& problem, const Eigen::VectorXd& start, const Options& options = {});

} // namespace tessen::fit
