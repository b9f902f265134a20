#pragma once

#include "deck/ZMatrix.hpp"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessen::deck {

// One atom of a structure as Open Babel reads it.
struct InputAtom {
    unsigned atomic_number = 0;
    std::string symbol;
    double mass =
        0; // the exact mass of its isotope: the most abundant one unless the file names one
    Vec3 position{};
};

// One structure of a molecule file.
struct Structure {
    std::string title; // as the file gives it; may be empty
    std::string formula;
    std::vector<InputAtom> atoms;
    std::vector<std::vector<bool>> bonded; // as Open Babel perceives or reads the bonds
};

// Reads every structure of a file through Open Babel's library, in the file's order,
// handing each to take. The format comes from the file's extension, or from format (an
// Open Babel format name such as "xyz" or "g09") when given. Returns the reason when the
// file cannot be read (its format unknown, the file missing or holding no structure).
std::optional<std::string> read_structures(const std::string& path, const std::string& format,
                                           const std::function<void(Structure)>& take);

} // namespace tessen::deck
