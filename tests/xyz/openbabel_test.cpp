// Open Babel reads the files of tessen-xyz, and the distances between the atoms it reads
// agree with the report's interatomic distance check.

#include "ReportDistances.hpp"
#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"
#include "xyz/CoordinateSets.hpp"
#include "xyz/XyzFileName.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace tessen::test {
namespace {

// One atom as Open Babel reads it.
struct BabelAtom {
    std::string symbol;
    double atomic_number = -1;
    double x = 0, y = 0, z = 0;
};

// The atoms of an XYZ file as Open Babel reads them, through its GAMESS input writer,
// which gives the atomic number and ten decimals of every coordinate.
std::vector<BabelAtom> read_with_open_babel(const fs::path& xyz) {
    ProgramRun run = run_program({"obabel", "-ixyz", xyz.string(), "-ogamin"}, xyz.parent_path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("1 molecule converted"), std::string::npos) << run.err;
    std::vector<BabelAtom> atoms;
    std::vector<std::string> lines = text_lines(run.out);
    auto line = std::find(lines.begin(), lines.end(), "C1");
    for (line = line == lines.end() ? line : line + 1;
         line != lines.end() && line->find("$END") == std::string::npos; ++line) {
        std::istringstream fields(*line);
        BabelAtom atom;
        fields >> atom.symbol >> atom.atomic_number >> atom.x >> atom.y >> atom.z;
        EXPECT_FALSE(fields.fail()) << *line;
        atoms.push_back(atom);
    }
    return atoms;
}

double distance(const BabelAtom& a, const BabelAtom& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

// Half a unit in the last place that the report shows of a value: six decimals, or fewer
// where seven significant digits come first.
double half_unit_shown(double value) {
    int before_point = std::abs(value) < 1.0 ? 0 : int(std::floor(std::log10(std::abs(value)))) + 1;
    return 0.5 * std::pow(10.0, -std::min(6, 7 - before_point));
}

// How far the distance between two atoms read back may lie from the report's: the rounding
// of the reported distance, the rounding of the six coordinates it is computed from, and
// the single-precision arithmetic of the report (of the rotation, for principal axes).
double tolerance(const xyz::ListedAtom& a, const xyz::ListedAtom& b, double reported,
                 bool principal) {
    double coordinates = 0;
    for (float xyz::ListedAtom::*axis :
         {&xyz::ListedAtom::x, &xyz::ListedAtom::y, &xyz::ListedAtom::z}) {
        double h = half_unit_shown(a.*axis) + half_unit_shown(b.*axis);
        coordinates += h * h;
    }
    double arithmetic = (principal ? 5.0e-6 : 2.0e-7) * std::max(1.0, reported);
    return half_unit_shown(reported) + std::sqrt(coordinates) + arithmetic;
}

// Every distance between the atoms Open Babel read agrees with the report's distance
// check; distances too wide for the check's field (asterisks) are left out.
void expect_distances(const std::vector<BabelAtom>& atoms, const xyz::CoordinateSet& set,
                      const DistanceMatrix& check, const std::string& file) {
    ASSERT_EQ(atoms.size(), set.atoms.size()) << file;
    ASSERT_EQ(check.size(), atoms.size()) << file;
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        ASSERT_EQ(check[i].size(), atoms.size()) << file;
        for (std::size_t j = 0; j < atoms.size(); ++j) {
            if (std::isnan(check[i][j]))
                continue;
            EXPECT_NEAR(distance(atoms[i], atoms[j]), check[i][j],
                        tolerance(set.atoms[i], set.atoms[j], check[i][j], set.block > 0))
                << file << ": atoms " << i + 1 << " and " << j + 1;
        }
    }
}

// A deck run through tessen and tessen-xyz: the report's listings and distance checks.
struct Converted {
    fs::path folder;
    std::string stem;
    std::vector<xyz::CoordinateSet> sets;
    std::map<int, DistanceMatrix> checks;
};

std::string symbols(const std::vector<BabelAtom>& atoms) {
    std::string text;
    for (const BabelAtom& atom : atoms)
        text += (text.empty() ? "" : " ") + atom.symbol;
    return text;
}

std::vector<double> atomic_numbers(const std::vector<BabelAtom>& atoms) {
    std::vector<double> numbers;
    for (const BabelAtom& atom : atoms)
        numbers.push_back(atom.atomic_number);
    return numbers;
}

class OpenBabel : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!has_program("obabel"))
            GTEST_SKIP() << "Open Babel (obabel) is not installed, and `make test` could not "
                            "install it (apt-get install openbabel): skipping";
    }

    Converted convert(const fs::path& deck) {
        Converted c{dir / deck.stem().string(), deck.stem().string(), {}, {}};
        fs::create_directories(c.folder);
        fs::copy_file(deck, c.folder / deck.filename());
        EXPECT_EQ(run_tessen(c.folder, deck.filename().string() + "\n").status, 0) << deck;
        std::string report = c.stem + ".OUT";
        ProgramRun run = run_xyz(c.folder, {report});
        EXPECT_EQ(run.status, 0) << deck << ": " << run.err;
        c.sets = xyz::read_coordinate_sets((c.folder / report).string()).sets;
        c.checks = distance_checks(test::text_lines(read_file(c.folder / report)));
        return c;
    }

    // The atoms Open Babel reads from the file of a listing, whose distances it checks.
    std::vector<BabelAtom> read_back(const Converted& c, const xyz::CoordinateSet& set) {
        std::string file = xyz::xyz_file_name(c.stem, set);
        std::vector<BabelAtom> atoms = read_with_open_babel(c.folder / file);
        expect_distances(atoms, set, c.checks.at(set.molecule), file);
        return atoms;
    }

    ScratchDir dir;
};

TEST_F(OpenBabel, ReadsTheWaterFilesWithTheReportsDistances) {
    Converted water = convert(source_dir() / "examples" / "WATER.DAT");
    ASSERT_EQ(water.sets.size(), 4u);
    for (const xyz::CoordinateSet& set : water.sets) {
        std::vector<BabelAtom> atoms = read_back(water, set);
        EXPECT_EQ(symbols(atoms), "O H H");
        EXPECT_EQ(atomic_numbers(atoms), (std::vector<double>{8, 1, 1}));
    }
}

// The title Open Babel gives a file (the comment line) begins with the description.
TEST_F(OpenBabel, ShowsTheDescriptionFirstInTheTitle) {
    Converted water = convert(source_dir() / "examples" / "WATER.DAT");
    const std::string file = xyz::xyz_file_name(water.stem, water.sets.at(2));
    ProgramRun run = run_program({"obabel", "-ixyz", file, "-otxt"}, water.folder);
    EXPECT_EQ(run.out.rfind("comment=\"WATER, EQUILIBRIUM STRUCTURE | D2(16)O | principal axes, "
                            "block 2\" Properties=",
                            0),
              0u)
        << run.out;
}

// Bromine and chlorine with two isotopic species, a molecule without listing, average
// masses and a dummy atom of mass 0.
TEST_F(OpenBabel, ReadsEveryElementAndTheDummyAtom) {
    Converted mixed = convert(test_dir() / "xyz/decks/MIXED.DAT");
    ASSERT_EQ(mixed.sets.size(), 6u);
    for (const xyz::CoordinateSet& set : mixed.sets) {
        std::vector<BabelAtom> atoms = read_back(mixed, set);
        if (set.molecule == 1) {
            EXPECT_EQ(symbols(atoms), "C Br Cl H H");
            EXPECT_EQ(atomic_numbers(atoms), (std::vector<double>{6, 35, 17, 1, 1}));
        } else {
            EXPECT_EQ(symbols(atoms), "C O H H *");
            EXPECT_EQ(atomic_numbers(atoms), (std::vector<double>{6, 8, 1, 1, 0}));
        }
    }
}

// Every deck of examples/, whatever it holds: each file is read whole, each atom of a real
// mass is an element, and each distance agrees with the report.
TEST_F(OpenBabel, ReadsTheFilesOfEveryExampleDeck) {
    std::vector<fs::path> decks;
    for (const auto& entry : fs::directory_iterator(source_dir() / "examples"))
        if (entry.path().extension() == ".DAT")
            decks.push_back(entry.path());
    std::sort(decks.begin(), decks.end());
    ASSERT_FALSE(decks.empty());
    for (const fs::path& deck : decks) {
        Converted c = convert(deck);
        EXPECT_FALSE(c.sets.empty()) << deck;
        for (const xyz::CoordinateSet& set : c.sets) {
            std::vector<BabelAtom> atoms = read_back(c, set);
            for (std::size_t i = 0; i < atoms.size() && i < set.atoms.size(); ++i) {
                if (set.atoms[i].mass.value_or(0.0f) > 0.0f) {
                    EXPECT_NE(atoms[i].symbol, "*")
                        << xyz::xyz_file_name(c.stem, set) << " atom " << i + 1;
                }
            }
        }
    }
}

} // namespace
} // namespace tessen::test
