#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace tessen::deck {

using Vec3 = std::array<double, 3>;

// One atom record of a deck: atom I placed from J, K and L by R, A and T, as tessen's
// construction reads them (angles in the deck's degrees).
struct AtomRecord {
    int i = 0, j = 0, k = 0, l = 0;
    double r = 0, a = 0, t = 0;
};

// The valence coordinates of one structure: its records in the order tessen places them
// (every reference placed before it), the real atoms numbered 1 to n in the input's order
// and the dummy atoms after them.
struct ValenceCoordinates {
    std::vector<AtomRecord> records;
    int real_atoms = 0;
    int dummy_atoms = 0;
};

// Frames of three atoms within this many degrees of collinear are not used.
inline constexpr double kCollinearLimit = 5.0;

// Valence coordinates that rebuild the positions through tessen's construction, up to a
// proper rotation and a translation. bonded[a][b] says which atoms are bonded (used to
// prefer a K bonded to J). Dummy atoms are added where the atoms placed so far give no
// frame: for one or two atoms (so that the deck has three), and for linear chains.
ValenceCoordinates valence_coordinates(const std::vector<Vec3>& positions,
                                       const std::vector<std::vector<bool>>& bonded);

} // namespace tessen::deck
