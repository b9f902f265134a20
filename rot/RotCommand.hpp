#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessen::rot {

// tessen-rot [--json | --csv] REPORT...: the rotational analysis of every report on
// standard output, warnings on err. Returns 0; 1 when a report cannot be read or holds no
// mass-properties block (the others are still analysed), or the analysis cannot be
// written; 2 for a usage error. args are the arguments after the program's name.
int run_rot(const std::vector<std::string>& args, std::ostream& err);

} // namespace tessen::rot
