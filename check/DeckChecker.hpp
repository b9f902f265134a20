#pragma once

#include "check/Finding.hpp"
#include "geometry/AtomTable.hpp"
#include "records/ByteStreams.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessen::check {

// What checking one deck gave: its findings in deck order, or why it could not be read.
struct DeckCheck {
    std::vector<Finding> findings;
    std::optional<std::string> unreadable; // the reason, when the deck could not be read
};

// Called with each molecule as tessen builds it (for comparing with tessen's report).
using MoleculeHook = std::function<void(const AtomTable& atoms, std::int32_t n)>;

// Reads the deck with tessen's own job loop, record layer and construction (into a report
// that is thrown away), and reports what would stop the run as errors and the silent traps
// as warnings. After an error, checking goes on at the next molecule (-9) or end record.
DeckCheck check_deck(ByteSource& source, const std::string& name, const MoleculeHook& hook = {});

} // namespace tessen::check
