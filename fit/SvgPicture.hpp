#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tessen::fit {

// An atom at its principal coordinates (A); a dummy atom is drawn dashed.
struct PictureAtom {
    int number;
    double a, b, c;
    bool dummy;
};

// An r_s position and its uncertainties (A).
struct PictureCross {
    int atom;
    double a, b, c;
    double ea, eb, ec;
};

struct Picture {
    std::string title;
    std::vector<PictureAtom> atoms;
    std::vector<std::pair<int, int>> bonds; // atom numbers
    std::vector<PictureCross> crosses;
    bool planar;
};

// The molecule in its principal frame as a self-contained SVG 1.1 file (no script, no
// external resource): projected on the a-b plane and, unless it is planar, on the a-c
// plane beside it, on one scale; atoms as circles labelled with their numbers, bonds as
// lines, r_s positions as crosses with their uncertainties as bars. A value that is not
// finite is left out (an atom, a cross, or a bar), and so is a bond to an atom not drawn.
std::string svg_picture(const Picture& picture);

} // namespace tessen::fit
