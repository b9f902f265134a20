#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessen::xyz {

// tessen-xyz [-o OUTDIR] REPORT...: writes one XYZ file per coordinate listing of each
// report into OUTDIR (default: the current folder, created when missing), or every listing
// on standard output for -o -, and names each file written on standard output; each
// problem is told on err. The older form REPORT OUTDIR is taken where OUTDIR is a folder
// or does not exist. Returns 0 when every listing is written; 1 when a report cannot be
// read or holds no listing, a listing cannot be used, or an output cannot be written; 2
// for a usage error. args are the arguments after the program name.
int run_xyz(const std::vector<std::string>& args, std::ostream& err);

} // namespace tessen::xyz
