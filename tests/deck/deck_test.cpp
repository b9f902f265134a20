// tessen-deck, then tessen: every molecule comes back with its geometry (after a proper
// rotation, so the dihedral sign is right) and its exact masses; the isotope options; and
// the whole substitution workflow through tessen-rot.

#include "companion/CommandError.hpp"
#include "deck/CheckedMolecule.hpp"
#include "deck/Structures.hpp"
#include "records/ByteStreams.hpp"
#include "report/ReportReader.hpp"
#include "support/Files.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <limits>

namespace tessen::test {
namespace {

using deck::Vec3;

const std::string kWaterXyz = "3\nwater\nO 0 0 0.1173\nH 0 0.7572 -0.4692\nH 0 -0.7572 -0.4692\n";
// Methanol, an H first: the input order does not start at a heavy atom.
const std::string kMethanolXyz = R"(6
methanol
H   1.0861   -0.9398    0.0000
C   -0.0465   0.6608    0.0000
O    0.0465  -0.7544    0.0000
H   -1.0889   0.9702    0.0000
H    0.4555   1.0693    0.8877
H    0.4555   1.0693   -0.8877
)";
const std::string kCyanoacetyleneXyz =
    "5\nHC3N, linear\nH 0 0 -2.0\nC 0 0 -0.94\nC 0 0 0.27\nC 0 0 1.65\nN 0 0 2.81\n";
const std::string kBenzeneXyz = R"(12
benzene ring
C  1.3970  0.0000 0.0
C  0.6985  1.2098 0.0
C -0.6985  1.2098 0.0
C -1.3970  0.0000 0.0
C -0.6985 -1.2098 0.0
C  0.6985 -1.2098 0.0
H  2.4810  0.0000 0.0
H  1.2405  2.1486 0.0
H -1.2405  2.1486 0.0
H -2.4810  0.0000 0.0
H -1.2405 -2.1486 0.0
H  1.2405 -2.1486 0.0
)";
// A chiral molecule (CHFClBr): a reflected copy would not match.
const std::string kChiralXyz = R"(5
bromochlorofluoromethane
C   0.0000  0.0000  0.0000
H   0.0000  0.0000  1.0900
F   1.3360  0.0000 -0.4600
Cl -0.8800  1.5240 -0.6200
Br -0.9800 -1.6970 -0.6900
)";
const std::string kWaterSdf = R"(water
  test

  3  2  0  0  0  0  0  0  0  0999 V2000
    0.0000    0.0000    0.1173 O   0  0  0  0  0  0  0  0  0  0  0  0
    0.0000    0.7572   -0.4692 H   0  0  0  0  0  0  0  0  0  0  0  0
    0.0000   -0.7572   -0.4692 H   0  0  0  0  0  0  0  0  0  0  0  0
  1  2  1  0
  1  3  1  0
M  END
$$$$
)";
const std::string kWaterGaussianOutput = R"( Entering Gaussian System, Link 0=g09
 Initial command:
 ******************************************
 Gaussian 09:  ES64L-G09RevD.01 24-Apr-2013
 Copyright (c) 1988,1990,1992,1993,1995,1998,2003,2009,2013,
            Gaussian, Inc.  All Rights Reserved.
 ******************************************
 ---------------------
 #p b3lyp/6-31g(d) opt
 ---------------------
 -----
 water
 -----
 Symbolic Z-matrix:
 Charge =  0 Multiplicity = 1
 O                     0.        0.        0.1173 
 H                     0.        0.7572   -0.4692 
 H                     0.       -0.7572   -0.4692 
 
                          Input orientation:                          
 ---------------------------------------------------------------------
 Center     Atomic      Atomic             Coordinates (Angstroms)
 Number     Number       Type             X           Y           Z
 ---------------------------------------------------------------------
      1          8           0        0.000000    0.000000    0.117300
      2          1           0        0.000000    0.757200   -0.469200
      3          1           0        0.000000   -0.757200   -0.469200
 ---------------------------------------------------------------------
 SCF Done:  E(RB3LYP) =  -76.4089533     A.U. after   10 cycles
 Normal termination of Gaussian 09 at Mon Dec  7 12:00:00 2026.
)";

Vec3 minus(const Vec3& p, const Vec3& q) {
    return {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
}
double dot(const Vec3& p, const Vec3& q) {
    return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
}
Vec3 cross(const Vec3& p, const Vec3& q) {
    return {p[1] * q[2] - p[2] * q[1], p[2] * q[0] - p[0] * q[2], p[0] * q[1] - p[1] * q[0]};
}
Vec3 unit(const Vec3& p) {
    const double n = std::sqrt(dot(p, p));
    return {p[0] / n, p[1] / n, p[2] / n};
}

// Three atoms that span the largest triangle (two for atoms on a line).
std::array<std::size_t, 3> frame_atoms(const std::vector<Vec3>& p) {
    std::array<std::size_t, 3> best_atoms = {0, p.size() > 1 ? 1u : 0u, p.size() > 1 ? 1u : 0u};
    double best = 1e-6;
    for (std::size_t i = 0; i < p.size(); ++i)
        for (std::size_t j = i + 1; j < p.size(); ++j)
            for (std::size_t k = j + 1; k < p.size(); ++k) {
                const Vec3 n = cross(minus(p[j], p[i]), minus(p[k], p[i]));
                if (dot(n, n) > best) {
                    best = dot(n, n);
                    best_atoms = {i, j, k};
                }
            }
    return best_atoms;
}

// The positions in the right-handed frame of the given three atoms (a, b on the x axis,
// c in the xy plane): the same numbers for two sets of positions that differ by a proper
// rotation and a translation, not for mirror images.
std::vector<Vec3> in_frame(const std::vector<Vec3>& p, const std::array<std::size_t, 3>& f) {
    const Vec3 ex = unit(minus(p[f[1]], p[f[0]]));
    Vec3 ey{0, 0, 0};
    if (f[2] != f[1]) {
        const Vec3 w = minus(p[f[2]], p[f[0]]);
        const double along = dot(w, ex);
        ey = unit({w[0] - along * ex[0], w[1] - along * ex[1], w[2] - along * ex[2]});
    }
    const Vec3 ez = cross(ex, ey);
    std::vector<Vec3> out;
    for (const Vec3& q : p) {
        const Vec3 d = minus(q, p[f[0]]);
        out.push_back({dot(d, ex), dot(d, ey), dot(d, ez)});
    }
    return out;
}

struct Molecule {
    std::vector<Vec3> positions;
    std::vector<double> masses;
};

struct DeckRoundTrip : ::testing::Test {
    ScratchDir dir;

    ProgramRun deck(const std::vector<std::string>& args) {
        std::vector<std::string> argv{deck_binary()};
        argv.insert(argv.end(), args.begin(), args.end());
        return run_program(argv, dir.path());
    }

    // The input's structures, as Open Babel reads them.
    std::vector<Molecule> input(const std::string& file) {
        std::vector<Molecule> molecules;
        deck::read_structures((dir / file).string(), "", [&](deck::Structure s) {
            Molecule m;
            for (const deck::InputAtom& a : s.atoms) {
                m.positions.push_back(a.position);
                m.masses.push_back(a.mass);
            }
            molecules.push_back(m);
        });
        return molecules;
    }

    // The molecules of tessen's report of the deck, atoms 1 to n of each input frame.
    std::vector<Molecule> rebuilt(const std::string& deck_file, const std::vector<Molecule>& in) {
        EXPECT_EQ(run_program({tessen_binary(), deck_file}, dir.path()).status, 0) << deck_file;
        const std::string report = fs::path(deck_file).replace_extension(".OUT").string();
        MemorySource source(read_file(dir / report));
        std::vector<Molecule> out;
        const auto molecules = report::read_report(source, report).molecules;
        for (std::size_t m = 0; m < molecules.size() && m < in.size(); ++m) {
            Molecule got;
            const auto& rows = molecules[m].input_frame->rows;
            for (std::size_t i = 0; i < in[m].positions.size() && i < rows.size(); ++i) {
                got.positions.push_back({*rows[i].x, *rows[i].y, *rows[i].z});
                got.masses.push_back(*rows[i].mass);
            }
            out.push_back(got);
        }
        return out;
    }

    void expect_round_trip(const std::string& file, const std::string& text) {
        write_file(dir / file, text);
        ProgramRun made = deck({file, "-o", "M.DAT"});
        ASSERT_EQ(made.status, 0) << file << ": " << made.err;
        const std::vector<Molecule> in = input(file);
        const std::vector<Molecule> out = rebuilt("M.DAT", in);
        ASSERT_EQ(out.size(), in.size()) << file;
        for (std::size_t m = 0; m < in.size(); ++m) {
            ASSERT_EQ(out[m].positions.size(), in[m].positions.size()) << file;
            if (in[m].positions.size() < 2) // one atom: at the origin, nothing to turn
                continue;
            const auto frame = frame_atoms(in[m].positions);
            const auto a = in_frame(in[m].positions, frame);
            const auto b = in_frame(out[m].positions, frame);
            for (std::size_t i = 0; i < a.size(); ++i) {
                for (int k = 0; k < 3; ++k)
                    EXPECT_NEAR(a[i][k], b[i][k], 1e-4) << file << ", atom " << i + 1;
                EXPECT_NEAR(out[m].masses[i], in[m].masses[i], 1e-5) << file << ", atom " << i + 1;
            }
        }
    }
};

TEST_F(DeckRoundTrip, EveryKindOfMoleculeComesBack) {
    expect_round_trip("water.xyz", kWaterXyz);
    expect_round_trip("methanol.xyz", kMethanolXyz);
    expect_round_trip("hc3n.xyz", kCyanoacetyleneXyz);
    expect_round_trip("benzene.xyz", kBenzeneXyz);
    expect_round_trip("chiral.xyz", kChiralXyz);
    expect_round_trip("water.sdf", kWaterSdf);
    expect_round_trip("water.log", kWaterGaussianOutput);
    expect_round_trip("two.xyz", kWaterXyz + kMethanolXyz); // two structures, two molecules
    expect_round_trip("argon.xyz", "1\nargon\nAr 0 0 0\n");
    expect_round_trip("co.xyz", "2\ncarbon monoxide\nC 0 0 0\nO 0 0 1.128\n");
}

// One and two atoms get dummy atoms of mass 0, so that the deck has three; a linear chain
// gets one off its line.
TEST_F(DeckRoundTrip, DummyAtomsFollowTheRealOnes) {
    write_file(dir / "co.xyz", "2\ncarbon monoxide\nC 0 0 0\nO 0 0 1.128\n");
    ProgramRun co = deck({"co.xyz"});
    EXPECT_NE(co.out.find("\n  0   3   0\ncarbon monoxide\nCO  co.xyz\nCO\n"), std::string::npos)
        << co.out;
    EXPECT_NE(co.out.find("  3  1  0  0    1.000000   90.000000     .000000     .000000\n"),
              std::string::npos)
        << co.out;
    write_file(dir / "hc3n.xyz", kCyanoacetyleneXyz);
    EXPECT_NE(deck({"hc3n.xyz"}).out.find("\n  0   6   0\n"), std::string::npos);
}

TEST_F(DeckRoundTrip, IsotopologuesAndTheirErrors) {
    write_file(dir / "water.xyz", kWaterXyz);
    ProgramRun sets =
        deck({"water.xyz", "--isotopologue", "2:2H,3:D", "--single-substitutions", "-o", "W.DAT"});
    ASSERT_EQ(sets.status, 0) << sets.err;
    const std::string text = read_file(dir / "W.DAT");
    EXPECT_NE(text.find("\n  0   3   1\n"), std::string::npos);
    EXPECT_NE(text.find(" -6H2O 2:2H,3:2H\n   15.994920    2.014102    2.014102\n"),
              std::string::npos)
        << text;
    for (const char* set : {" -6H2O 1:18O\n   17.999160", " -6H2O 2:2H\n", " -6H2O 3:2H\n"})
        EXPECT_NE(text.find(set), std::string::npos) << set;
    EXPECT_EQ(run_program({tessen_binary(), "W.DAT"}, dir.path()).status, 0);

    for (const auto& [substitutions, named] : std::vector<std::pair<std::string, std::string>>{
             {"2:99H", "unknown isotope '99H'"},
             {"9:2H", "atom 9 is not an atom of the molecule (1 to 3)"},
             {"2:2H,x", "'x' is not ATOM:ISOTOPE"},
             {"1:13C", "atom 1 is O, not C"}}) {
        ProgramRun bad = deck({"water.xyz", "--isotopologue", substitutions, "-o", "BAD.DAT"});
        EXPECT_EQ(bad.status, 2) << substitutions;
        EXPECT_NE(bad.err.find(named), std::string::npos) << bad.err;
        EXPECT_FALSE(fs::exists(dir / "BAD.DAT")) << substitutions;
    }
    ProgramRun missing = deck({"water.xyz", "none.xyz", "-o", "HALF.DAT"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("tessen-deck: none.xyz: "), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "HALF.DAT")); // the readable file is still written
    EXPECT_EQ(deck({"--bogus"}).status, 2);
    EXPECT_EQ(deck({"--version"}).out.rfind("tessen-deck ", 0), 0u);
}

// The r_s workflow: geometry file, deck with every single substitution, report,
// substitution structure that reproduces the principal coordinates put in.
TEST_F(DeckRoundTrip, SingleSubstitutionsGiveTheSubstitutionStructure) {
    write_file(dir / "methanol.xyz", kMethanolXyz);
    ASSERT_EQ(deck({"methanol.xyz", "--single-substitutions", "-o", "MEOH.DAT"}).status, 0);
    ASSERT_EQ(run_program({tessen_binary(), "MEOH.DAT"}, dir.path()).status, 0);
    ProgramRun rot = run_program({rot_binary(), "--json", "MEOH.OUT"}, dir.path());
    ASSERT_EQ(rot.status, 0) << rot.err;
    const nlohmann::json species = nlohmann::json::parse(rot.out)["molecules"][0]["isotopologues"];
    ASSERT_EQ(species.size(), 7u); // the parent and one set per atom
    for (std::size_t s = 1; s < species.size(); ++s) {
        const nlohmann::json& sub = species[s]["substitution"];
        ASSERT_TRUE(sub.is_object()) << species[s]["title"];
        EXPECT_EQ(sub["atom"], s);
        for (int g = 0; g < 3; ++g) {
            const double put_in = sub["principal"][g];
            if (put_in > 0.1) {
                EXPECT_NEAR(sub["coordinates"][g].get<double>(), put_in, 0.002) << sub;
            }
        }
    }
}

// Molecule files that Open Babel reads with a coordinate of inf or 1e190 (an exponent typed
// into a number): each is named and refused, and no deck is written.
TEST_F(DeckRoundTrip, UnplaceableFilesAreRefused) {
    for (const auto& entry : fs::directory_iterator(source_dir() / "tests/deck/unplaceable")) {
        const std::string file = entry.path().string();
        ProgramRun run = deck({file, "-o", "OUT.DAT"});
        EXPECT_EQ(run.status, 1) << file;
        EXPECT_EQ(run.err.rfind("tessen-deck: " + file + ": structure 1: atom ", 0), 0u) << run.err;
        EXPECT_FALSE(fs::exists(dir / "OUT.DAT")) << file;
    }
    // The readable structures of a file are still written, the refused one named by number.
    write_file(dir / "three.xyz", kWaterXyz + "3\nbad\nO 0 0 nan\nH 0 1 0\nH 1 0 0\n" + kWaterXyz);
    ProgramRun mixed = deck({"three.xyz", "-o", "MIXED.DAT"});
    EXPECT_EQ(mixed.status, 1);
    // (Under the sanitizers, the leak checker may add its own lines after the message.)
    EXPECT_EQ(mixed.err.rfind("tessen-deck: three.xyz: structure 2: atom 1: its z coordinate is "
                              "nan, not a finite number\n",
                              0),
              0u)
        << mixed.err;
    EXPECT_EQ(run_program({tessen_binary(), "MIXED.DAT"}, dir.path()).status, 0);
    EXPECT_EQ(run_program({check_binary(), "MIXED.DAT"}, dir.path()).status, 0);
    // A file far larger than any molecule file is not given to Open Babel at all.
    write_file(dir / "huge.xyz", kWaterXyz);
    fs::resize_file(dir / "huge.xyz", (std::uintmax_t{1} << 30) + 1);
    ProgramRun huge = deck({"huge.xyz"});
    EXPECT_EQ(huge.status, 2); // nothing read
    write_file(dir / "water.xyz", kWaterXyz);
    EXPECT_EQ(deck({"water.xyz", "huge.xyz", "-o", "BESIDE.DAT"}).status, 1);
    EXPECT_TRUE(fs::exists(dir / "BESIDE.DAT"));
    EXPECT_NE(huge.err.find("huge.xyz: 1073741825 bytes, larger than any molecule file"),
              std::string::npos)
        << huge.err;
}

// A structure with these positions and elements (atomic numbers; the masses are Open
// Babel's), bonded where closer than 1.7.
deck::Structure structure(const std::vector<std::pair<unsigned, Vec3>>& atoms) {
    deck::Structure s;
    for (const auto& [number, position] : atoms)
        s.atoms.push_back({number, "", number == 1 ? 1.007825 : 12.0 * (number != 0), position});
    s.bonded.assign(atoms.size(), std::vector<bool>(atoms.size(), false));
    for (std::size_t a = 0; a < atoms.size(); ++a)
        for (std::size_t b = 0; b < atoms.size(); ++b) {
            const Vec3 d = minus(atoms[a].second, atoms[b].second);
            s.bonded[a][b] = a != b && dot(d, d) < 1.7 * 1.7;
        }
    return s;
}

// What checked_deck_molecule refuses the structure with; empty when it is accepted.
std::string refusal(const deck::Structure& s) {
    try {
        deck::checked_deck_molecule(s, "test.xyz", {});
        return "";
    } catch (const companion::CommandError& error) {
        EXPECT_EQ(error.status(), 1);
        return error.what();
    }
}

TEST(CheckedMolecule, RefusesWhatNoDeckOrTessenTakes) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(refusal(structure({{6, {0, 0, 0}}, {6, {0, inf, 0}}, {1, {1, 0, 0}}})),
              "atom 2: its y coordinate is inf, not a finite number");
    EXPECT_EQ(refusal(structure({{6, {0, 0, 0}}, {6, {1e196, 0, 0}}})),
              "atom 2: its x coordinate is 1e+196, farther from atom 1 than a deck reaches");
    EXPECT_EQ(refusal(structure({{6, {0, 0, 0}}, {1, {0, 0, 0.00005}}, {1, {1, 0, 0}}})),
              "atom 2 stands where atom 1 stands");
    EXPECT_EQ(refusal(structure({{6, {0, 0, 0}}, {6, {100000, 0, 0}}})),
              "atom 2 lies 100000.000000 from atom 1, more than a deck field holds");
    // Only unknown elements (mass 0): tessen's mass block divides by the total mass.
    EXPECT_EQ(refusal(structure({{0, {0, 0, 0}}, {0, {1, 0, 0}}, {0, {0, 1, 0}}}))
                  .rfind("tessen would stop on it: ", 0),
              0u);
    // Past the checks, a search that finds no atom among distances that are not numbers
    // refuses the structure rather than using an unset index.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const deck::Structure lost = structure({{6, {0, 0, 0}}, {6, {nan, 0, 0}}, {1, {nan, 1, 0}}});
    EXPECT_THROW(deck::valence_coordinates({{0, 0, 0}, {nan, 0, 0}, {nan, 1, 0}}, lost.bonded),
                 companion::CommandError);
    std::vector<std::pair<unsigned, Vec3>> many;
    for (int a = 0; a < 501; ++a)
        many.push_back({1, {a * 1.0, 0, 0}});
    EXPECT_EQ(refusal(structure(many)), "501 atoms, more than a deck holds (500)");
    many.resize(500); // a straight chain takes dummy atoms
    EXPECT_NE(refusal(structure(many)).find(" atoms with the dummy atoms, more than a deck holds"),
              std::string::npos);
    // Coincident with a third atom but not its nearest, collinear chains, a long but
    // printable bond: accepted.
    EXPECT_EQ(
        refusal(structure({{6, {0, 0, 0}}, {6, {1.2, 0, 0}}, {6, {2.4, 0, 0}}, {1, {3.4, 0, 0}}})),
        "");
    EXPECT_EQ(refusal(structure({{6, {0, 0, 0}}, {6, {99999.9, 0, 0}}, {1, {0, 1, 0}}})), "");
}

} // namespace
} // namespace tessen::test
