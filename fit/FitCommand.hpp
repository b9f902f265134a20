#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessen::fit {

// tessen-fit with the arguments after the program's name, its messages on err; returns the
// exit status. Its results go to standard output, written and closed by the companions'
// frame.
int run_fit_command(const std::vector<std::string>& args, std::ostream& err);

} // namespace tessen::fit
