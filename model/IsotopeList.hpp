#pragma once

#include <string>
#include <vector>

namespace tessen::model {

// One atom given another isotope: ATOM:ISOTOPE of a list such as 2:2H,3:2H.
struct IsotopeChoice {
    int atom = 0;        // from 1
    std::string isotope; // as written: "2H", "D", "13C"
};

// The items of ATOM:ISOTOPE[,ATOM:ISOTOPE...], blanks around each part ignored; an item
// that is not of that form raises CommandError (status 2) naming it. Which atoms and
// isotopes exist is the caller's to check against its molecule.
std::vector<IsotopeChoice> parse_isotope_list(const std::string& text);

// The masses of atoms 1 to N with the list's isotopes put in. The isotope must be known to
// Open Babel and of the element of the atom's own mass (identified within 0.01 u);
// CommandError (status 2) otherwise.
std::vector<double> substituted_masses(const std::vector<double>& own_masses,
                                       const std::vector<IsotopeChoice>& choices);

} // namespace tessen::model
