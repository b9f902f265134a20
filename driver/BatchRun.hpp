#pragma once

#include "driver/CommandLine.hpp"

#include <iosfwd>
#include <string>
#include <vector>

namespace tessen {

// The report of a deck run from the command line: the file name's last extension
// replaced by ".OUT" (".OUT" appended when there is none), beside the deck.
std::string report_path_for(const std::string& deck);

// `tessen [OPTIONS] DECK...`: runs each deck in turn, without dialogue and without
// console output on success. Each diagnostic names its deck and goes to err; the other
// decks still run. Returns the exit status: 0 when every deck ran to its end record, 1
// when any ended with a diagnostic, 2 for a usage error (with the usage on err).
int run_command_line(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tessen
