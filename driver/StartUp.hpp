#pragma once

#include "driver/NameDialogue.hpp"
#include "records/Console.hpp"

#include <cstddef>
#include <optional>

namespace tessen {

// The prompt: its delimited message, filled out with blanks to this length.
inline constexpr std::size_t kPromptLength = 72;

// The names that start-up settles on.
struct FileNames {
    FileName input;
    FileName report;
};

// The console part of start-up: the banner, the name dialogue, the report name and the
// line naming both files. Returns nothing when the input name has no period: the two
// lines that say so have been written and the run stops by the stop rule, with no file
// opened.
std::optional<FileNames> start_up(Console& console);

} // namespace tessen
