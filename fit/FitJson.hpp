#pragma once

#include "fit/FitRun.hpp"

#include <string>

namespace tessen::fit {

// The whole run as a JSON document: every model (parameters, model constants, residuals,
// correlation, coordinates), the substitution coordinates and structure, predictions and
// warnings. Numbers are JSON numbers at full double precision; a value that does not exist
// is null.
std::string fit_json(const FitRun& run);

} // namespace tessen::fit
