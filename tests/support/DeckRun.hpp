#pragma once

#include "records/Diagnostic.hpp"
#include "records/ReportPipeline.hpp"

#include <optional>
#include <string>

namespace tessen::test {

// A deck run through the job loop in memory, with one thread or, as tessen runs it by
// default, two: the report it wrote (closed, as the program closes it after a diagnostic
// too) and the diagnostic that ended it, if any.
struct DeckRun {
    std::string report;
    std::optional<ErrorKind> error;
    std::string message;
};
DeckRun run_deck(const std::string& deck,
                 ReportPipeline::Threads threads = ReportPipeline::Threads::two);

} // namespace tessen::test
