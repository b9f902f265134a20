#pragma once

#include "driver/JobLoop.hpp"
#include "records/ByteStreams.hpp"

#include <string>

namespace tessen {

// Runs one opened deck through the job loop into one opened report. The report is closed
// (its buffer written out) on every way out, so a diagnostic leaves every record written
// before it; the first fault is the one raised.
JobSummary process_deck(ByteSource& source, const std::string& deck_name, ByteSink& sink);

} // namespace tessen
