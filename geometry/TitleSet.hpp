#pragma once

#include "records/FixedText.hpp"

namespace tessen {

// The three titles of the molecule in hand. Titles 1 and 2 head the molecule; the third
// heads several sections and is replaced by each isotope header record.
struct TitleSet {
    FixedText<80> first;
    FixedText<80> second;
    FixedText<60> third;
};

} // namespace tessen
