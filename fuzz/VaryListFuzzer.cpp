// libFuzzer entry: one input is one --vary list for tessen-fit. A CommandError of status 2
// is the normal end of a bad list; anything else that escapes, a sanitizer report or a hang
// is a finding, and so is a list parsed without complaint into groups that break the rules
// of ties.

#include "companion/CommandError.hpp"
#include "fit/VaryList.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string_view>
#include <utility>

namespace {

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "finding: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessen::fit;
    try {
        const std::vector<ParameterGroup> groups =
            parse_vary_list(std::string_view(reinterpret_cast<const char*>(data), size));
        require(!groups.empty(), "a list without groups");
        std::set<std::pair<Kind, int>> named;
        for (const ParameterGroup& group : groups) {
            require(!group.members.empty(), "a group without members");
            require(group.name == member_name(group.members.front()), "a group misnamed");
            require(group.members.front().sign == 1, "a group whose value is negated");
            for (const Member& member : group.members) {
                require(member.atom >= 1, "an atom number below 1");
                require(member.kind == group.members.front().kind, "a tie across kinds");
                require(member.sign == 1 || (member.sign == -1 && member.kind == Kind::dihedral),
                        "a sign on a length or an angle");
                require(named.insert({member.kind, member.atom}).second, "a name given twice");
            }
        }
    } catch (const tessen::companion::CommandError& error) {
        require(error.status() == 2, "a bad list that is not a usage fault");
    }
    return 0;
}
