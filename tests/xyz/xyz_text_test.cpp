// The XYZ files that tessen-xyz writes: numbers, comment line, whole text, file names.

#include "xyz/XyzFileName.hpp"
#include "xyz/XyzText.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace tessen::xyz {
namespace {

// The report's own six-decimal text (seven significant digits at most), with a zero
// before the point.
TEST(XyzText, NumbersAreTheReportsTextWithALeadingZero) {
    EXPECT_EQ(xyz_number(0.0f), "0.000000");
    EXPECT_EQ(xyz_number(-0.0f), "0.000000");
    EXPECT_EQ(xyz_number(-4.0e-7f), "0.000000");
    EXPECT_EQ(xyz_number(0.5f), "0.500000");
    EXPECT_EQ(xyz_number(-0.239987f), "-0.239987");
    EXPECT_EQ(xyz_number(0.957200f), "0.957200");
    EXPECT_EQ(xyz_number(1.513901f), "1.513901");
    EXPECT_EQ(xyz_number(-10.0f), "-10.000000");
    // Single precision holds 1234.5679931640625 here: the text is the one the report shows.
    EXPECT_EQ(xyz_number(-1234.568f), "-1234.568000");
    EXPECT_EQ(xyz_number(99999.99f), "99999.990000");
    // Wider than any report field, still written in full.
    EXPECT_EQ(xyz_number(1.0e9f), "1000000000.000000");
}

// Isotopes as the report prints them, standard weights and rounded masses name their
// element; a mass near only a short-lived isotope (10He), or a dummy atom's, is X.
TEST(XyzText, ElementSymbolsFromMasses) {
    const std::pair<double, const char*> cases[] = {
        {1.007825, "H"},    {2.014102, "H"},   {3.016049, "H"},   {3.016029, "He"},
        {15.99492, "O"},    {14.007, "N"},     {35.5, "Cl"},      {80.91629, "Br"},
        {126.904473, "I"},  {63.927967, "Ni"}, {63.929142, "Zn"}, {238.050788, "U"},
        {0.0, "X"},         {10.07825, "X"},   {-1.0, "X"},       {1.0e6, "X"},
        {std::nan(""), "X"}};
    for (const auto& [mass, symbol] : cases)
        EXPECT_EQ(element_symbol(mass), symbol) << mass;
}

CoordinateSet water(int block) {
    CoordinateSet set;
    set.molecule = 1;
    set.block = block;
    set.title = "WATER, EQUILIBRIUM STRUCTURE";
    set.subtitle = "H2(16)O";
    set.atoms = {{0.0f, 0.0f, 0.0f, 15.99492f},
                 {0.9572f, 0.0f, 0.0f, 1.007825f},
                 {-0.239987f, 0.926627f, 0.0f, 1.007825f}};
    return set;
}

TEST(XyzText, DescriptionNamesTheMoleculeTheSpeciesAndTheFrame) {
    EXPECT_EQ(xyz_description(water(0)),
              "WATER, EQUILIBRIUM STRUCTURE | H2(16)O | input axis frame");
    EXPECT_EQ(xyz_description(water(2)),
              "WATER, EQUILIBRIUM STRUCTURE | H2(16)O | principal axes, block 2");
    CoordinateSet untitled = water(1);
    untitled.title.clear();
    untitled.subtitle = "   ";
    EXPECT_EQ(xyz_description(untitled), "principal axes, block 1");
}

// A title is whatever the deck's record held: the comment must stay one line of text, and
// its quotes and backslashes must neither end the quoted value nor escape its end.
TEST(XyzText, CommentIsOneLineWithTheDescriptionQuoted) {
    CoordinateSet set = water(0);
    set.title = "A\rB\tC\x1a"
                "D\x7f"
                "E\xc5"
                "F\n";
    EXPECT_EQ(xyz_description(set), "A B C D E?F | H2(16)O | input axis frame");
    set.title = "say \"x=1\" \\";
    set.subtitle = "H2O\\";
    EXPECT_EQ(xyz_comment(set), "comment=\"say \\\"x=1\\\" \\\\ | H2O\\\\ | input axis frame\" "
                                "Properties=species:S:1:pos:R:3:masses:R:1");
}

TEST(XyzText, FileHoldsCountCommentAndOneLinePerAtomWithItsMass) {
    EXPECT_EQ(xyz_text(water(0)),
              "3\n"
              "comment=\"WATER, EQUILIBRIUM STRUCTURE | H2(16)O | input axis frame\" "
              "Properties=species:S:1:pos:R:3:masses:R:1\n"
              "O       0.000000      0.000000      0.000000     15.994920\n"
              "H       0.957200      0.000000      0.000000      1.007825\n"
              "H      -0.239987      0.926627      0.000000      1.007825\n");
}

// A mass shown as asterisks is unknown: X, and a mass that computes to nothing.
TEST(XyzText, AtomsWithoutAKnownMassAreX) {
    CoordinateSet set = water(1);
    set.atoms[0].mass.reset(); // asterisks in the report
    set.atoms[1].mass = 0.0f;  // a dummy atom
    set.atoms[2].mass = 79.904f;
    std::string text = xyz_text(set);
    EXPECT_NE(text.find("\nX       0.000000      0.000000      0.000000           nan\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nX       0.957200      0.000000      0.000000      0.000000\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nBr     -0.239987      0.926627      0.000000     79.904000\n"),
              std::string::npos)
        << text;
}

TEST(XyzFileName, SpeciesNamesKeepLettersDigitsAndHyphens) {
    EXPECT_EQ(species_name("D2(16)O"), "D2_16_O");
    EXPECT_EQ(species_name("CH2(81)Br(37)Cl"), "CH2_81_Br_37_Cl");
    EXPECT_EQ(species_name("  (13)C-H3 F  "), "13_C-H3_F");
    EXPECT_EQ(species_name("__A__ / b.c__"), "A_b_c");
    EXPECT_EQ(species_name("\"../..\\x\xc5\ty\""), "x_y");
    EXPECT_EQ(species_name("   "), "");
    EXPECT_EQ(species_name("()*/"), "");
    // Bounded, and cut before a separator rather than after one.
    EXPECT_EQ(species_name(std::string(60, 'A')), std::string(kSpeciesNameLength, 'A'));
    EXPECT_EQ(species_name(std::string(kSpeciesNameLength - 1, 'A') + " B"),
              std::string(kSpeciesNameLength - 1, 'A'));
}

TEST(XyzFileName, NamesTheMoleculeTheFrameAndTheSpecies) {
    EXPECT_EQ(report_stem("WATER.OUT"), "WATER");
    EXPECT_EQ(report_stem("runs/A.B.OUT"), "A.B");
    EXPECT_EQ(report_stem("/tmp/REPORT"), "REPORT");
    EXPECT_EQ(xyz_file_name("WATER", water(0)), "WATER_1_input.xyz");
    EXPECT_EQ(xyz_file_name("WATER", water(3)), "WATER_1_principal_3_H2_16_O.xyz");
    CoordinateSet untitled{12, 1, "ALL", " ", {}};
    EXPECT_EQ(xyz_file_name("ALL", untitled), "ALL_12_principal_1.xyz");
}

} // namespace
} // namespace tessen::xyz
