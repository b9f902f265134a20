#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessen::fit {

// tessen-fit with the arguments after the program's name; returns the exit status.
int run_fit_command(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tessen::fit
