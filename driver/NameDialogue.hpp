#pragma once

#include "records/Console.hpp"
#include "records/FixedText.hpp"

#include <string_view>

namespace tessen {

using FileName = FixedText<12>;

// The name dialogue: prompts for a file name until one names an existing file, at most
// four names. A failed read writes three lines and prompts again without using up a
// name; after four failed reads in all (console input has ended) the dialogue gives up
// too. Either way the name in hand is returned, and the caller cannot tell which.
void GETNAME(Console& console, std::string_view prompt, FileName& name);

// Whether a file of the given name (less trailing blanks) exists.
bool file_exists(const FileName& name);

} // namespace tessen
