#pragma once

#include "records/Diagnostic.hpp"

#include <optional>
#include <string>

namespace tessen::test {

// A deck run through the job loop in memory: the report it wrote (closed, as the program
// closes it after a diagnostic too) and the diagnostic that ended it, if any.
struct DeckRun {
    std::string report;
    std::optional<ErrorKind> error;
    std::string message;
};
DeckRun run_deck(const std::string& deck);

} // namespace tessen::test
