// Open Babel reads the files of tessen-xyz, and the distances between the atoms it reads
// agree with the report's interatomic distance check.

#include "ReportDistances.hpp"
#include "ToolsSupport.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace tessen::tools_test {
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
    std::vector<std::string> lines = lines_of(run.out);
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

// The report rounds each distance to six decimals, and each coordinate of the input frame
// to six decimals (all of them below 10 here), so that the distance from the printed
// coordinates may differ by half a unit in the sixth decimal plus the length of a vector
// of three differences of up to one unit each. The principal coordinates are a rotation
// computed in single precision, and agree to about ten units.
constexpr double kInputFrameTolerance = 0.5e-6 + 1.7321e-6 + 0.1e-6;
constexpr double kPrincipalFrameTolerance = 1.0e-5;

void expect_distances(const std::vector<BabelAtom>& atoms, const DistanceMatrix& check,
                      double tolerance, const std::string& file) {
    ASSERT_EQ(atoms.size(), check.size()) << file;
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        ASSERT_EQ(check[i].size(), atoms.size()) << file;
        for (std::size_t j = 0; j < atoms.size(); ++j)
            EXPECT_NEAR(distance(atoms[i], atoms[j]), check[i][j], tolerance)
                << file << ": atoms " << i + 1 << " and " << j + 1;
    }
}

struct Expected {
    std::string file;
    int molecule;
    std::vector<std::string> symbols; // as Open Babel names them: "*" for a dummy atom
    std::vector<int> atomic_numbers;
};

class OpenBabel : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!has_program("obabel"))
            GTEST_SKIP() << "Open Babel (obabel) is not installed, and `make test` could not "
                            "install it (apt-get install openbabel): skipping";
    }

    // Runs tessen and tessen-xyz on a deck; the distance checks of its report.
    std::map<int, DistanceMatrix> convert(const fs::path& deck) {
        fs::copy_file(deck, dir / deck.filename().string());
        EXPECT_EQ(run_tessen(dir.path(), deck.filename().string()).status, 0);
        std::string report = deck.stem().string() + ".OUT";
        ProgramRun run = run_program({TESSEN_XYZ_BINARY, report}, dir.path());
        EXPECT_EQ(run.status, 0) << run.err;
        return distance_checks(lines_of(read_file(dir / report)));
    }

    void check(const Expected& expected, const std::map<int, DistanceMatrix>& checks) {
        std::vector<BabelAtom> atoms = read_with_open_babel(dir / expected.file);
        ASSERT_EQ(atoms.size(), expected.symbols.size()) << expected.file;
        for (std::size_t i = 0; i < atoms.size(); ++i) {
            EXPECT_EQ(atoms[i].symbol, expected.symbols[i]) << expected.file << " atom " << i + 1;
            EXPECT_EQ(atoms[i].atomic_number, expected.atomic_numbers[i]) << expected.file;
        }
        bool input = expected.file.find("_input.xyz") != std::string::npos;
        expect_distances(atoms, checks.at(expected.molecule),
                         input ? kInputFrameTolerance : kPrincipalFrameTolerance, expected.file);
    }

    Scratch dir;
};

TEST_F(OpenBabel, ReadsTheWaterFilesWithTheReportsDistances) {
    std::map<int, DistanceMatrix> checks = convert(source_dir() / "examples" / "WATER.DAT");
    for (const char* file : {"WATER_1_input.xyz", "WATER_1_principal_1.xyz",
                             "WATER_1_principal_2.xyz", "WATER_1_principal_3.xyz"})
        check({file, 1, {"O", "H", "H"}, {8, 1, 1}}, checks);
}

// Bromine and chlorine with two isotopic species, a molecule without listing, average
// masses and a dummy atom of mass 0.
TEST_F(OpenBabel, ReadsEveryElementAndTheDummyAtom) {
    std::map<int, DistanceMatrix> checks = convert(deck_dir() / "MIXED.DAT");
    const Expected halomethane{"", 1, {"C", "Br", "Cl", "H", "H"}, {6, 35, 17, 1, 1}};
    const Expected formaldehyde{"", 3, {"C", "O", "H", "H", "*"}, {6, 8, 1, 1, 0}};
    for (const char* file :
         {"MIXED_1_input.xyz", "MIXED_1_principal_1.xyz", "MIXED_1_principal_2.xyz"}) {
        Expected expected = halomethane;
        expected.file = file;
        check(expected, checks);
    }
    for (const char* file :
         {"MIXED_3_input.xyz", "MIXED_3_principal_1.xyz", "MIXED_3_principal_2.xyz"}) {
        Expected expected = formaldehyde;
        expected.file = file;
        check(expected, checks);
    }
}

} // namespace
} // namespace tessen::tools_test
