#pragma once

#include "records/Console.hpp"

#include <iosfwd>

namespace tessen {

// The whole run: start-up on the console, the job loop over the deck into the report,
// and the end of the run in one place. Returns the exit status: 0 by the stop rule, 1
// after a diagnostic on err (written once the files are closed).
int run_program(std::ostream& out, std::ostream& err, ConsoleInput& in);

} // namespace tessen
