#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tessen::test {

// What one run of a program gave.
struct ProgramRun {
    int status = -1; // the exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Where a program's standard output goes: into ProgramRun::out, to /dev/full (every write
// fails with "No space left on device"), or nowhere (the descriptor closed).
enum class StandardOutput { captured, full, closed };

// Runs argv[0] (looked up in PATH when it has no slash) in folder dir, with input as its
// standard input.
ProgramRun run_program(const std::vector<std::string>& argv, const std::filesystem::path& dir,
                       const std::string& input = {},
                       StandardOutput output = StandardOutput::captured);

// The built programs.
std::string tessen_binary();
std::string xyz_binary();
std::string check_binary();
std::string rot_binary();
std::string deck_binary();
std::string fit_binary();

// Runs the built tessen in dir; typed is everything typed at its prompts, line ends
// included.
ProgramRun run_tessen(const std::filesystem::path& dir, const std::string& typed);

// Runs the built tessen-xyz in dir with the given arguments.
ProgramRun run_xyz(const std::filesystem::path& dir, const std::vector<std::string>& args);

// Whether a program of that name is found in PATH.
bool has_program(const std::string& name);

} // namespace tessen::test
