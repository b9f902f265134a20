#include "fit/VaryList.hpp"

#include "companion/CommandError.hpp"

#include <charconv>
#include <set>
#include <utility>

namespace tessen::fit {

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw companion::CommandError(2, "--vary: " + what);
}

std::string quoted(std::string_view name) {
    return std::string("'").append(name).append("'");
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The pieces of text between separators; an empty text gives one empty piece.
std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (std::size_t from = 0;;) {
        const std::size_t end = text.find(separator, from);
        pieces.push_back(text.substr(from, end - from));
        if (end == std::string_view::npos)
            return pieces;
        from = end + 1;
    }
}

// One name, [-]rK, [-]aK or [-]dK with K an atom number from 1.
Member parse_member(std::string_view written) {
    std::string_view name = trimmed(written);
    if (name.empty())
        fail("an empty name (two separators in a row, or one at an end)");
    const std::string what =
        quoted(name) + " is not a parameter name (rK, aK or dK, K an atom number)";
    Member member{Kind::length, 0, 1};
    if (name[0] == '-') {
        member.sign = -1;
        name.remove_prefix(1);
    }
    if (name.size() < 2)
        fail(what);
    switch (name[0]) {
    case 'r':
        member.kind = Kind::length;
        break;
    case 'a':
        member.kind = Kind::angle;
        break;
    case 'd':
        member.kind = Kind::dihedral;
        break;
    default:
        fail(what);
    }
    const char* end = name.data() + name.size();
    const auto [stop, error] = std::from_chars(name.data() + 1, end, member.atom);
    if (error != std::errc() || stop != end || member.atom < 1)
        fail(what);
    if (member.sign < 0 && member.kind != Kind::dihedral)
        fail(quoted(member_name(member)) + ": only a dihedral is tied with the opposite sign");
    return member;
}

// One comma-separated group, its members tied by '='.
ParameterGroup parse_group(std::string_view text, std::set<std::pair<Kind, int>>& named) {
    ParameterGroup group;
    for (std::string_view part : split(text, '=')) {
        const Member member = parse_member(part);
        const Member as_positive{member.kind, member.atom, 1};
        if (!named.insert({member.kind, member.atom}).second)
            fail(member_name(as_positive) + " is named twice");
        if (!group.members.empty() && member.kind != group.members.front().kind)
            fail(member_name(group.members.front()) + " and " + member_name(as_positive) +
                 " are of different kinds and cannot be tied");
        group.members.push_back(member);
    }
    if (group.members.size() == 1 && group.members.front().sign < 0)
        fail(quoted(member_name(group.members.front())) +
             " alone: a '-' ties a dihedral to another with the opposite sign");
    // The group's value is its first member's: "-d6=d7" is the tie "d6=-d7".
    if (group.members.front().sign < 0)
        for (Member& member : group.members)
            member.sign = -member.sign;
    group.name = member_name(group.members.front());
    return group;
}

} // namespace

char kind_letter(Kind kind) {
    switch (kind) {
    case Kind::length:
        return 'r';
    case Kind::angle:
        return 'a';
    case Kind::dihedral:
        break;
    }
    return 'd';
}

std::string member_name(const Member& member) {
    std::string name = member.sign < 0 ? "-" : "";
    name += kind_letter(member.kind);
    return name += std::to_string(member.atom);
}

std::vector<ParameterGroup> parse_vary_list(std::string_view text) {
    if (trimmed(text).empty())
        fail("no parameter named");
    std::vector<ParameterGroup> groups;
    std::set<std::pair<Kind, int>> named;
    for (std::string_view item : split(text, ','))
        groups.push_back(parse_group(item, named));
    return groups;
}

} // namespace tessen::fit
