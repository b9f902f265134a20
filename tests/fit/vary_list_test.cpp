#include "fit/VaryList.hpp"

#include "companion/CommandError.hpp"

#include <gtest/gtest.h>

namespace tessen::fit {
namespace {

// The groups as written back: "r4=r5 a4=a5 d7=-d6".
std::string written(const std::vector<ParameterGroup>& groups) {
    std::string text;
    for (const ParameterGroup& group : groups) {
        text += text.empty() ? "" : " ";
        for (std::size_t m = 0; m < group.members.size(); ++m) {
            text += m == 0 ? "" : "=";
            text += member_name(group.members[m]);
        }
    }
    return text;
}

TEST(VaryList, GroupsTiesAndSigns) {
    const auto groups = parse_vary_list("r4=r5,a4=a5,d7=-d6");
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].name, "r4");
    EXPECT_EQ(groups[2].name, "d7");
    EXPECT_EQ(groups[1].members[1].kind, Kind::angle);
    EXPECT_EQ(groups[1].members[1].atom, 5);
    EXPECT_EQ(groups[2].members[1].sign, -1);
    EXPECT_EQ(written(groups), "r4=r5 a4=a5 d7=-d6");
    EXPECT_EQ(written(parse_vary_list(" r2 , a3 = a4 ,d12")), "r2 a3=a4 d12");
    // The first member carries the group's value: "-d6=d7" is "d6=-d7".
    EXPECT_EQ(written(parse_vary_list("-d6=d7,-d8=-d9")), "d6=-d7 d8=d9");
}

TEST(VaryList, FaultsNameTheOffendingText) {
    const std::pair<const char*, const char*> faults[] = {
        {"", "no parameter named"},
        {"r4,", "an empty name"},
        {"r4==r5", "an empty name"},
        {"x4", "'x4' is not a parameter name"},
        {"r", "'r' is not a parameter name"},
        {"r0", "'r0' is not a parameter name"},
        {"r-1", "'r-1' is not a parameter name"},
        {"r4a", "'r4a' is not a parameter name"},
        {"R4", "'R4' is not a parameter name"},
        {"d99999999999", "'d99999999999' is not a parameter name"},
        {"r4,a3,r4", "r4 is named twice"},
        {"d5=-d5", "d5 is named twice"},
        {"r4=a5", "r4 and a5 are of different kinds"},
        {"r4=-r5", "'-r5': only a dihedral"},
        {"-a3", "'-a3': only a dihedral"},
        {"r2,-d7", "'-d7' alone"},
    };
    for (const auto& [text, what] : faults) {
        try {
            parse_vary_list(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const companion::CommandError& error) {
            EXPECT_EQ(error.status(), 2) << text;
            EXPECT_NE(std::string(error.what()).find(what), std::string::npos)
                << text << ": " << error.what();
            EXPECT_EQ(std::string(error.what()).rfind("--vary: ", 0), 0u) << error.what();
        }
    }
}

} // namespace
} // namespace tessen::fit
