#pragma once

#include "fit/FitRun.hpp"
#include "fit/SvgPicture.hpp"

namespace tessen::fit {

// The picture of a run: the first fitted structure (the deck's when no model gave values)
// in the principal frame of the molecule's own masses, its atom records' bonds, and the
// r_s positions with their uncertainties.
Picture fit_picture(const FitRun& run);

} // namespace tessen::fit
