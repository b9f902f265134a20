#pragma once

// The names by which the report-scanning tests of this folder reach the shared test
// support.

#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"

namespace tessen::tools_test {

namespace fs = std::filesystem;
using Scratch = test::ScratchDir;
using test::ProgramRun;
using test::read_file;
using test::source_dir;
using test::write_file;

// Runs the built tessen in dir on the deck of that name, typed at its prompt.
inline ProgramRun run_tessen(const fs::path& dir, const std::string& deck) {
    return test::run_tessen(dir, deck + "\n");
}

inline std::vector<std::string> lines_of(const std::string& text) {
    return test::text_lines(text);
}

// The decks of the tessen-xyz tests.
inline fs::path deck_dir() {
    return test::test_dir() / "xyz" / "decks";
}

} // namespace tessen::tools_test
