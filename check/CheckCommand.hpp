#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessen::check {

// tessen-check [OPTIONS] DECK...: the findings of every deck on standard output, in deck
// order, messages on err. Returns 0 when no deck has a finding, 1 when some deck has one
// or the findings cannot be written, 2 when a deck cannot be read or the command line is
// wrong. args are the arguments after the program's name.
int run_check(const std::vector<std::string>& args, std::ostream& err);

} // namespace tessen::check
