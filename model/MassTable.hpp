#pragma once

#include <optional>
#include <string>

namespace tessen::model {

// How far a mass may lie from a known isotope mass or standard atomic weight and still be
// taken for it, in u.
inline constexpr double kMassTolerance = 0.01;

// A known atomic mass from Open Babel's tables: an isotope's exact mass, or an element's
// standard atomic weight (mass_number 0).
struct KnownMass {
    unsigned atomic_number = 0;
    std::string symbol;       // "C"
    unsigned mass_number = 0; // 13 for 13C; 0 for the standard atomic weight
    double mass = 0;          // u
    bool main = false;        // the element's most abundant isotope or its standard weight

    // "13C", "C" for the standard weight.
    std::string name() const;
};

// The known mass nearest to `mass` (any element, any isotope Open Babel lists). For a
// positive mass there is always one; for a mass of 0 or less (a dummy atom), none.
std::optional<KnownMass> nearest_known_mass(double mass);

// What `mass` is taken for: among the known masses within `tolerance`, an element's main
// isotope or standard weight before any other isotope (14.0031 is 14N, not 14C), the
// nearest first; nothing when none lies so close, or for a dummy atom's mass (0 or less).
std::optional<KnownMass> identify_mass(double mass, double tolerance = kMassTolerance);

// The exact mass of an isotope ("13C", "D" and "T" for 2H and 3H), or nothing when Open
// Babel does not know it.
std::optional<KnownMass> isotope_by_name(const std::string& name);

} // namespace tessen::model
