// The picture read back by Python's XML parser: well-formed, SVG 1.1, nothing external,
// and the atoms, bonds and crosses where the principal coordinates put them.

#include "fit/SvgPicture.hpp"

#include "support/Files.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <set>

namespace tessen::fit {
namespace {

using nlohmann::json;

const std::string kPython = "/usr/bin/python3";

// Prints what the SVG file holds as JSON: the root and its title, every element and
// attribute name that could reach outside the file, each panel's atoms (the label that
// follows each circle) and the lines by colour.
const std::string kSummary = R"(
import sys, json, xml.etree.ElementTree as ET
ns = "{http://www.w3.org/2000/svg}"
root = ET.parse(sys.argv[1]).getroot()
elements = list(root.iter())
local = lambda e: e.tag.split("}")[-1]
panels = []
for g in root.findall(ns + "g"):
    atoms, circle = [], None
    for e in g:
        if local(e) == "circle":
            circle = e
        elif local(e) == "text" and circle is not None:
            atoms.append([e.text, float(circle.get("cx")), float(circle.get("cy")),
                          circle.get("stroke-dasharray") is not None])
            circle = None
    panels.append({"atoms": atoms, "texts": [e.text for e in g.iter(ns + "text")]})
lines = {}
for e in root.iter(ns + "line"):
    lines[e.get("stroke")] = lines.get(e.get("stroke"), 0) + 1
print(json.dumps({
    "root": root.tag, "version": root.get("version"), "title": root.findtext(ns + "title"),
    "tags": sorted(set(local(e) for e in elements)),
    "outside": [k for e in elements for k in e.attrib if "href" in k or k.startswith("on")],
    "panels": panels, "lines": lines}))
)";

class SvgPicture : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kPython))
            GTEST_SKIP() << kPython << " is missing: skipping";
    }

    json parsed(const Picture& picture) {
        test::write_file(dir / "picture.svg", svg_picture(picture));
        const test::ProgramRun run =
            test::run_program({kPython, "-c", kSummary, "picture.svg"}, dir.path());
        EXPECT_EQ(run.status, 0) << run.err;
        return run.status == 0 ? json::parse(run.out) : json::object();
    }

    test::ScratchDir dir;
};

// The panel's atoms by label: [cx, cy, dashed].
std::map<std::string, json> atoms_by_label(const json& panel) {
    std::map<std::string, json> atoms;
    for (const json& atom : panel["atoms"])
        atoms[atom[0]] = {atom[1], atom[2], atom[3]};
    return atoms;
}

TEST_F(SvgPicture, TwoPlanesWithAtomsBondsAndCrossesAndNothingOutside) {
    const double nan = std::nan("");
    const Picture picture{"H2O2 <r0> & \"r_s\" 'fit'\x01\xE9",
                          {{1, 0.70, 0.10, -0.05, false},
                           {2, -0.70, 0.10, 0.05, false},
                           {3, 0.90, -0.80, 0.40, false},
                           {4, -0.90, -0.80, -0.40, false},
                           {5, 0.0, 0.0, 1.0, true},
                           {6, nan, 0.0, 0.0, false}},
                          {{1, 2}, {1, 3}, {2, 4}, {1, 6}, {2, 9}},
                          {{3, 0.91, -0.79, 0.41, 0.01, 0.02, nan}},
                          false};
    const json svg = parsed(picture);
    ASSERT_FALSE(svg.empty());
    EXPECT_EQ(svg["root"], "{http://www.w3.org/2000/svg}svg");
    EXPECT_EQ(svg["version"], "1.1");
    EXPECT_EQ(svg["title"], "H2O2 <r0> & \"r_s\" 'fit' \xEF\xBF\xBD");
    for (const json& tag : svg["tags"])
        EXPECT_TRUE(
            (std::set<std::string>{"svg", "title", "rect", "g", "line", "circle", "text"}.count(
                tag)))
            << tag;
    EXPECT_TRUE(svg["outside"].empty());
    // Three drawable bonds in each plane; the bonds to atom 6 (no position) and 9 (none)
    // are left out. The cross: its marker and its a bar in both planes, its b bar in the
    // a-b plane only (c has no uncertainty).
    EXPECT_EQ(svg["lines"]["#1f3b5c"], 6);
    EXPECT_EQ(svg["lines"]["#c0392b"], 2 * (2 + 3) + 3);

    ASSERT_EQ(svg["panels"].size(), 2u);
    const auto ab = atoms_by_label(svg["panels"][0]), ac = atoms_by_label(svg["panels"][1]);
    ASSERT_EQ(ab.size(), 5u);
    ASSERT_EQ(ac.size(), 5u);
    EXPECT_TRUE(ab.at("5")[2] && ac.at("5")[2]);
    EXPECT_FALSE(ab.at("1")[2]);
    // a to the right, the other axis up, one scale for both planes.
    EXPECT_GT(ab.at("1")[0], ab.at("2")[0]);
    EXPECT_LT(ab.at("1")[1], ab.at("3")[1]);
    EXPECT_LT(ac.at("3")[1], ac.at("1")[1]);
    EXPECT_GT(ac.at("2")[0], ab.at("1")[0]);
    // One scale: atoms 1 and 2 lie 1.40 A apart along a, atoms 1 and 3 0.90 A along b and
    // 0.45 A along c.
    const double scale = (double(ab.at("1")[0]) - double(ab.at("2")[0])) / 1.40;
    EXPECT_NEAR(double(ac.at("1")[0]) - double(ac.at("2")[0]), 1.40 * scale, 0.02);
    EXPECT_NEAR(double(ab.at("3")[1]) - double(ab.at("1")[1]), 0.90 * scale, 0.02);
    EXPECT_NEAR(double(ac.at("1")[1]) - double(ac.at("3")[1]), 0.45 * scale, 0.02);
    const json& texts = svg["panels"][1]["texts"];
    EXPECT_NE(std::find(texts.begin(), texts.end(), "a-c plane"), texts.end());
}

TEST_F(SvgPicture, APlanarMoleculeHasOnePlane) {
    const json svg =
        parsed({"ethylene", {{1, -0.66, 0, 0, false}, {2, 0.66, 0, 0, false}}, {{1, 2}}, {}, true});
    ASSERT_EQ(svg["panels"].size(), 1u);
    EXPECT_EQ(svg["panels"][0]["texts"][2], "a-b plane");
    EXPECT_EQ(svg["lines"]["#1f3b5c"], 1);
    EXPECT_FALSE(svg["lines"].contains("#c0392b"));
}

} // namespace
} // namespace tessen::fit
