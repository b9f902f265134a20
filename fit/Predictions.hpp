#pragma once

#include "fit/MomentModel.hpp"
#include "fit/Species.hpp"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tessen::fit {

// A mass set of the deck without measured constants: its A, B, C from the fitted model,
// and scaled by the parent's measured / calculated ratio (where the parent measured it),
// which is where the search for its lines starts.
struct Prediction {
    int set = 0; // from 1
    std::string title;
    std::array<double, 3> calculated{};          // MHz
    std::array<std::optional<double>, 3> scaled; // MHz
};

// Every mass set of the deck that no species measured, by the model at the values p (the
// deck's structure with the model constants at 0 when p is empty).
std::vector<Prediction> predictions(const MomentModel& model, const Eigen::VectorXd& p);

} // namespace tessen::fit
