#pragma once

#include "records/ByteStreams.hpp"

#include <cstddef>
#include <string>

namespace tessen::report {

// What a file given to a program that reads reports and decks holds.
enum class InputKind {
    report,  // its first line is the one that begins every report: PROGRAM TESSEN
    deck,    // the first record that tessen's job loop acts on starts a molecule (-9), a
             // mass set (-6) or ends the deck (999); the records it skips may come first
    neither, // anything else: a first record that is no control record, or no such
             // record in the first kHeadLimit bytes
};

// How far the head of an input is read to tell what it is.
inline constexpr std::size_t kHeadLimit = std::size_t{1} << 20;

// The head of an input: what it is, the bytes read to tell (to be read again before the
// rest), and the line that told, from 1 (0 when none did).
struct InputHead {
    InputKind kind = InputKind::neither;
    std::string bytes;
    std::size_t line = 0;
};

// Reads lines from the source until one tells what the input is, by its content alone.
// Raises RunError when the source cannot be read.
InputHead read_input_head(ByteSource& source);

} // namespace tessen::report
