#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessen::fit {

// The valence coordinates of an atom record: rK, aK, dK.
enum class Kind { length, angle, dihedral };

// One coordinate in a group: of atom record K, with the sign it follows the group's value
// with (-1 only for a dihedral written `-dK` in a tie).
struct Member {
    Kind kind;
    int atom;
    int sign;
};

// Coordinates tied into one fitted value; name: the first member as written ("r4").
struct ParameterGroup {
    std::string name;
    std::vector<Member> members;
};

// The letter of a kind: 'r', 'a' or 'd'.
char kind_letter(Kind kind);
// A member as written: "r4", "-d7".
std::string member_name(const Member& member);

// Parses a --vary list, "r4=r5,a4=a5,d7=-d6": groups separated by commas, the members of
// a group by '='. The first member of a group always has the sign +1 ("-d6=d7" is read as
// "d6=-d7"). Raises CommandError (status 2) for a list that does not have that syntax, a
// name given twice, a tie across kinds, or a '-' anywhere but before a dihedral in a tie.
// Whether atom K's record has that coordinate is the caller's to check.
std::vector<ParameterGroup> parse_vary_list(std::string_view text);

} // namespace tessen::fit
