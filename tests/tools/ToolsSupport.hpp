#pragma once

#include "support/TestSupport.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace tessen::tools_test {

namespace fs = std::filesystem;

// A fresh empty folder under the system's temporary folder, removed on destruction.
using Scratch = tessen::test::ScratchDir;

// What one run of a program gave.
struct ProgramRun {
    int status = -1; // the exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs argv[0] (looked up in PATH when it has no slash) in folder dir, with input as its
// standard input.
ProgramRun run_program(const std::vector<std::string>& argv, const fs::path& dir,
                       const std::string& input = {});

// Runs the built tessen in dir on the deck named deck (typed at its prompt).
ProgramRun run_tessen(const fs::path& dir, const std::string& deck);

// Whether a program of that name is found in PATH.
bool has_program(const std::string& name);

std::string read_file(const fs::path& file);
void write_file(const fs::path& file, const std::string& text);

// The lines of a text, without their line ends (LF or CR LF).
std::vector<std::string> lines_of(const std::string& text);

// Folders of the project: the source tree, the build tree, the test decks.
fs::path source_dir();
fs::path build_dir();
fs::path deck_dir();

} // namespace tessen::tools_test
