#pragma once

#include "fit/LeastSquares.hpp"
#include "fit/MomentModel.hpp"

#include <Eigen/Dense>

#include <optional>
#include <string>
#include <vector>

namespace tessen::fit {

// A measured constant against the fitted model, in MHz and as a moment (u A^2); with the
// datum's leverage when the fit took it as it stands (moments or constants data).
struct Residual {
    std::size_t species = 0;
    int axis = 0;
    double observed_mhz = 0, calculated_mhz = 0;
    double observed_moment = 0, calculated_moment = 0;
    std::optional<double> leverage;
};

// A planar moment of a species against the model (--data planar), with its leverage.
struct PlanarResidual {
    std::size_t species = 0;
    int axis = 0;
    double observed = 0, calculated = 0, leverage = 0;
};

// What one least-squares model gave.
struct ModelFit {
    MomentModel model;
    Summary summary;
    bool done = false;                      // converged and determined: the values stand
    std::string failure;                    // why not, when not
    std::vector<model::AtomRecord> records; // the fitted atom records
    std::vector<Eigen::Vector3d> principal; // atoms' principal coordinates, own masses
    std::vector<Residual> residuals;
    std::vector<PlanarResidual> planar_residuals;
    std::vector<std::string> warnings;
};

// Fits the model from the deck's values. A fit that does not converge, or whose data do
// not determine its parameters, is given back with done false and the reason.
ModelFit fit_model(const MomentModel& model, const Options& options = {});

// The fitted structural values (the first parameters of the solution).
std::vector<double> structural_values(const ModelFit& fit);

} // namespace tessen::fit
