#pragma once

#include "driver/JobLoop.hpp"
#include "records/ByteStreams.hpp"
#include "records/FileReplacement.hpp"
#include "records/ReportPipeline.hpp"

#include <string>

namespace tessen {

// How reports are written, from the environment: TESSEN_THREADS=1 keeps the whole run
// on one thread; otherwise (unset, or any other value) the report is written to its
// file by a thread of its own while the deck is worked through. The bytes are the same.
ReportPipeline::Threads report_threads_from_environment();
// The same for closing an older report that a new one has replaced.
DescriptorCloser::Closes old_report_closes_from_environment();

// Runs one opened deck through the job loop into one opened report. The report is closed
// (its buffer written out) on every way out, so a diagnostic leaves every record written
// before it; the first fault is the one raised.
JobSummary process_deck(ByteSource& source, const std::string& deck_name, ByteSink& sink,
                        ReportPipeline::Threads threads = report_threads_from_environment());

} // namespace tessen
