#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessen::xyz {

// Exit statuses of tessen-xyz.
inline constexpr int kExitOk = 0;     // every listing of the report written
inline constexpr int kExitFailed = 1; // the report unreadable or without listings, a
                                      // listing unusable, or a file not written
inline constexpr int kExitUsage = 2;  // the command line is wrong

// tessen-xyz REPORT [OUTDIR]: writes one XYZ file per coordinate listing of the report
// into OUTDIR (default: the current folder, created when missing), names each file
// written on out, and each problem on err. args are the arguments after the program name.
int run_xyz(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tessen::xyz
