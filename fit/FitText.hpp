#pragma once

#include "fit/FitRun.hpp"

#include <string>

namespace tessen::fit {

// The run as text for a reader: the parameters side by side (a column per model, as a
// paper's structure table shows them), then each model's details, the substitution
// coordinates, the predictions and the warnings.
std::string fit_text(const FitRun& run);

} // namespace tessen::fit
