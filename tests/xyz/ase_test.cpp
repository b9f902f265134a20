// ASE reads the files of tessen-xyz as extended XYZ: the report's masses, isotopes
// included, and its coordinates, whatever the titles hold.

#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"
#include "xyz/CoordinateSets.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace tessen::test {
namespace {

// Debian's ASE is installed for the system's Python, not for others that PATH may find
// first.
const std::string kPython = "/usr/bin/python3";

// Prints, for each file named on the command line, "FILE", its comment, then per atom its
// symbol, mass and x, y, z, numbers as Python's repr gives them (nan for nan).
const std::string kReader = R"(
import sys, ase.io
for path in sys.argv[1:]:
    atoms = ase.io.read(path, format="extxyz")
    print("FILE")
    print(atoms.info.get("comment"))
    for symbol, mass, xyz in zip(atoms.get_chemical_symbols(), atoms.get_masses(), atoms.positions):
        print(symbol, *(repr(float(v)) for v in (mass, *xyz)))
)";

struct AseAtom {
    std::string symbol;
    double mass = 0, x = 0, y = 0, z = 0;
};

struct AseFrame {
    std::string comment;
    std::vector<AseAtom> atoms;
};

class XyzReadByAse : public ::testing::Test {
  protected:
    void SetUp() override {
        if (run_program({kPython, "-c", "import ase.io"}, dir.path()).status != 0)
            GTEST_SKIP() << kPython << " cannot import ase (apt-get install python3-ase): skipping";
    }

    // Runs tessen on a copy of the deck; the report's path.
    fs::path report_of(const fs::path& deck) {
        fs::copy_file(deck, dir / deck.filename().string());
        EXPECT_EQ(run_tessen(dir.path(), deck.filename().string() + "\n").status, 0) << deck;
        return dir / (deck.stem().string() + ".OUT");
    }

    // Runs tessen-xyz on the report and ASE on every file it names.
    std::vector<AseFrame> read_back(const fs::path& report) {
        ProgramRun xyz = run_xyz(dir.path(), {report.filename().string()});
        EXPECT_EQ(xyz.status, 0) << xyz.err;
        std::vector<std::string> argv = {kPython, "-c", kReader};
        for (const std::string& file : text_lines(xyz.out))
            argv.push_back(file);
        ProgramRun ase = run_program(argv, dir.path());
        EXPECT_EQ(ase.status, 0) << ase.err;
        std::vector<AseFrame> frames;
        std::vector<std::string> lines = text_lines(ase.out);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == "FILE" && i + 1 < lines.size()) {
                frames.push_back({lines[++i], {}});
                continue;
            }
            std::istringstream fields(lines[i]);
            std::string symbol, mass, x, y, z;
            fields >> symbol >> mass >> x >> y >> z;
            EXPECT_FALSE(fields.fail() || frames.empty()) << lines[i];
            if (!fields.fail() && !frames.empty())
                frames.back().atoms.push_back(
                    {symbol, std::stod(mass), std::stod(x), std::stod(y), std::stod(z)});
        }
        return frames;
    }

    // Every file read back holds the report's listing: the masses and coordinates as
    // printed (read into single precision, they are the reader's values), a mass shown as
    // asterisks nan.
    void expect_listings(const fs::path& report, const std::vector<AseFrame>& frames) {
        std::vector<xyz::CoordinateSet> sets = xyz::read_coordinate_sets(report.string()).sets;
        ASSERT_EQ(frames.size(), sets.size());
        for (std::size_t f = 0; f < sets.size(); ++f) {
            ASSERT_EQ(frames[f].atoms.size(), sets[f].atoms.size()) << frames[f].comment;
            for (std::size_t i = 0; i < sets[f].atoms.size(); ++i) {
                const AseAtom& read = frames[f].atoms[i];
                const xyz::ListedAtom& listed = sets[f].atoms[i];
                std::string where = frames[f].comment + ", atom " + std::to_string(i + 1);
                if (listed.mass)
                    EXPECT_EQ(static_cast<float>(read.mass), *listed.mass) << where;
                else
                    EXPECT_TRUE(std::isnan(read.mass)) << where;
                EXPECT_EQ(static_cast<float>(read.x), listed.x) << where;
                EXPECT_EQ(static_cast<float>(read.y), listed.y) << where;
                EXPECT_EQ(static_cast<float>(read.z), listed.z) << where;
            }
        }
    }

    ScratchDir dir;
};

TEST_F(XyzReadByAse, ReadsEachIsotopicSpeciesWithItsMasses) {
    fs::path report = report_of(source_dir() / "examples" / "WATER.DAT");
    std::vector<AseFrame> frames = read_back(report);
    expect_listings(report, frames);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[2].comment,
              "WATER, EQUILIBRIUM STRUCTURE | D2(16)O | principal axes, block 2");
    std::string species;
    for (const AseAtom& atom : frames[2].atoms)
        species += atom.symbol + " " + std::to_string(atom.mass) + " ";
    EXPECT_EQ(species, "O 15.994920 H 2.014102 H 2.014102 ");
}

// Two species of bromine and chlorine, average masses and a dummy atom of mass 0.
TEST_F(XyzReadByAse, ReadsEveryElementAndTheDummyAtom) {
    fs::path report = report_of(test_dir() / "xyz/decks/MIXED.DAT");
    std::vector<AseFrame> frames = read_back(report);
    expect_listings(report, frames);
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames.back().atoms.back().symbol, "X");
    EXPECT_EQ(frames.back().atoms.back().mass, 0.0);
}

// Quotes, backslashes, '=' and brackets in a title stay inside the comment; a mass shown
// as asterisks is read as nan.
TEST_F(XyzReadByAse, TitlesCannotBreakTheCommentLineAndAnUnknownMassIsNan) {
    fs::path report = report_of(source_dir() / "examples" / "WATER.DAT");
    std::string text = read_file(report);
    const std::string title = "WATER, EQUILIBRIUM STRUCTURE";
    const std::string odd = R"(A "B" C\ D=1 'E' {F} [G] \)";
    ASSERT_NE(text.find(title), std::string::npos);
    text.replace(text.find(title), title.size(), odd + std::string(title.size() - odd.size(), ' '));
    const std::string mass = "     .520313    -.756950     .000000     1.007825";
    ASSERT_NE(text.find(mass), std::string::npos);
    text.replace(text.find(mass) + mass.size() - 12, 12, std::string(12, '*'));
    write_file(report, text);

    std::vector<AseFrame> frames = read_back(report);
    expect_listings(report, frames);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].comment, odd + " | H2(16)O | input axis frame");
    EXPECT_EQ(frames[1].atoms[1].symbol, "X");
    EXPECT_TRUE(std::isnan(frames[1].atoms[1].mass));
}

} // namespace
} // namespace tessen::test
