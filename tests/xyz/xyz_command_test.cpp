// tessen-xyz as a user runs it, on reports written by the built tessen.

#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessen::test {
namespace {

const std::vector<std::string> kWaterFiles = {
    "WATER_1_input.xyz", "WATER_1_principal_1_H2_16_O.xyz", "WATER_1_principal_2_D2_16_O.xyz",
    "WATER_1_principal_3_HD_16_O.xyz"};

// A folder holding the example deck and the report tessen wrote for it.
class WaterReport : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(source_dir() / "examples" / "WATER.DAT", dir / "WATER.DAT");
        ASSERT_EQ(run_tessen(dir.path(), "WATER.DAT\n").status, 0);
    }
    ProgramRun xyz(const std::vector<std::string>& args) { return run_xyz(dir.path(), args); }
    std::vector<std::string> files_in(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".xyz")
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    ScratchDir dir;
};

TEST_F(WaterReport, WritesOneFilePerListingIntoTheCurrentFolder) {
    ProgramRun run = xyz({"WATER.OUT"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(text_lines(run.out), kWaterFiles);
    EXPECT_EQ(files_in(dir.path()), kWaterFiles);
    // O at the origin, H on the x axis at 0.9572, H at 0.9572 and 104.52 degrees from it.
    EXPECT_EQ(read_file(dir / "WATER_1_input.xyz"),
              "3\n"
              "comment=\"WATER, EQUILIBRIUM STRUCTURE | H2(16)O | input axis frame\" "
              "Properties=species:S:1:pos:R:3:masses:R:1\n"
              "O       0.000000      0.000000      0.000000     15.994920\n"
              "H       0.957200      0.000000      0.000000      1.007825\n"
              "H      -0.239987      0.926627      0.000000      1.007825\n");
}

TEST_F(WaterReport, EachIsotopicSpeciesGetsItsOwnPrincipalAxisFileWithItsMasses) {
    ASSERT_EQ(xyz({"WATER.OUT"}).status, 0);
    const std::vector<std::string> species = {"H2(16)O", "D2(16)O", "HD(16)O"};
    const std::vector<std::string> hydrogen_masses = {"1.007825 1.007825", "2.014102 2.014102",
                                                      "2.014102 1.007825"};
    for (std::size_t k = 0; k < species.size(); ++k) {
        std::vector<std::string> lines = text_lines(read_file(dir / kWaterFiles[k + 1]));
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0], "3");
        EXPECT_EQ(lines[1], "comment=\"WATER, EQUILIBRIUM STRUCTURE | " + species[k] +
                                " | principal axes, block " + std::to_string(k + 1) +
                                "\" Properties=species:S:1:pos:R:3:masses:R:1");
        // Deuterium is hydrogen to a viewer; its mass tells it apart.
        EXPECT_EQ(lines[2].substr(0, 2) + lines[3].substr(0, 2) + lines[4].substr(0, 2), "O H H ");
        EXPECT_EQ(lines[3].substr(lines[3].size() - 8) + " " + lines[4].substr(lines[4].size() - 8),
                  hydrogen_masses[k]);
    }
}

// The older form, REPORT OUTDIR, where OUTDIR is a folder or nothing yet; -o OUTDIR with
// several reports; a second operand that is a file is a report.
TEST_F(WaterReport, WritesIntoAGivenFolderCreatingIt) {
    ProgramRun run = xyz({"WATER.OUT", "views/water"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(text_lines(run.out).back(), "views/water/WATER_1_principal_3_HD_16_O.xyz");
    EXPECT_EQ(files_in(dir / "views/water"), kWaterFiles);
    EXPECT_TRUE(files_in(dir.path()).empty());

    fs::copy_file(dir / "WATER.OUT", dir / "SECOND.OUT");
    run = xyz({"-o", "both", "WATER.OUT", "SECOND.OUT"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(files_in(dir / "both").size(), 2 * kWaterFiles.size());
    run = xyz({"WATER.OUT", "SECOND.OUT"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(text_lines(run.out).size(), 2 * kWaterFiles.size());
}

// A report from standard input takes the stem "stdin"; -o - writes the files' text on
// standard output, one after another.
TEST_F(WaterReport, StandardInputAndStandardOutput) {
    ProgramRun piped = run_program({xyz_binary(), "-"}, dir.path(), read_file(dir / "WATER.OUT"));
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(text_lines(piped.out).front(), "stdin_1_input.xyz");
    ProgramRun frames = xyz({"-o", "-", "WATER.OUT"});
    EXPECT_EQ(frames.status, 0) << frames.err;
    std::string files;
    for (const std::string& name : kWaterFiles)
        files += read_file(dir / ("stdin" + name.substr(5)));
    EXPECT_EQ(frames.out, files);
}

// Two reports of one name in two folders would give the same files: the second report's
// are not written over the first's.
TEST_F(WaterReport, AFileOfAnEarlierReportIsNotWrittenOver) {
    fs::create_directory(dir / "other");
    fs::copy_file(dir / "WATER.OUT", dir / "other/WATER.OUT");
    ProgramRun run = xyz({"WATER.OUT", "other/WATER.OUT"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(text_lines(run.out), kWaterFiles);
    EXPECT_EQ(text_lines(run.err).front(),
              "tessen-xyz: WATER_1_input.xyz: written already from another report; not written "
              "again");
}

TEST_F(WaterReport, AWrongCommandLineGivesTheUsageAndStatus2) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{}, {"-x"}, {"WATER.OUT", "--out"}, {"-o"}}) {
        ProgramRun run = xyz(args);
        EXPECT_EQ(run.status, 2) << args.size();
        EXPECT_EQ(run.err.rfind("tessen-xyz: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("\nusage: tessen-xyz [-o OUTDIR] REPORT...\n"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    ProgramRun help = xyz({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: tessen-xyz [-o OUTDIR] REPORT...\n", 0), 0u);
    EXPECT_TRUE(files_in(dir.path()).empty());
}

// A report that cannot be used is named; when no report was used, nothing was computed
// (exit 2, as for a usage error); beside one that was used, the run failed (exit 1).
TEST_F(WaterReport, AMissingReportFailsWithItsName) {
    ProgramRun run = xyz({"NOSUCH.OUT"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tessen-xyz: NOSUCH.OUT: cannot be opened: No such file or directory\n");
    EXPECT_EQ(run.out, "");
    ProgramRun beside = xyz({"WATER.OUT", "NOSUCH.OUT", "-o", "-"});
    EXPECT_EQ(beside.status, 1);
    EXPECT_NE(beside.out.find("Properties=species"), std::string::npos) << beside.out;
}

TEST_F(WaterReport, AFileWithoutListingsIsAFailure) {
    ProgramRun run = xyz({"WATER.DAT"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("WATER.DAT: no coordinate listing"), std::string::npos) << run.err;
    EXPECT_TRUE(files_in(dir.path()).empty());
}

TEST_F(WaterReport, AnOutputFolderThatIsAFileIsAFailure) {
    write_file(dir / "taken", "");
    ProgramRun run = xyz({"-o", "taken", "WATER.OUT"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tessen-xyz: taken: cannot create folder: Not a directory\n");
    EXPECT_EQ(run.out, "");
}

// The listings that can be read are written; the one that cannot is named, and the run
// fails.
TEST_F(WaterReport, AnUnreadableListingFailsTheRunButNotTheOtherFiles) {
    std::string report = read_file(dir / "WATER.OUT");
    std::size_t listing = report.find("     .957200     .000000     .000000     1.007825");
    ASSERT_NE(listing, std::string::npos);
    report.replace(listing, 12, std::string(12, '*'));
    write_file(dir / "WATER.OUT", report);

    ProgramRun run = xyz({"WATER.OUT"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("tessen-xyz: WATER.OUT:15: molecule 1, input axis frame: atom 2 "
                            "has a coordinate too wide",
                            0),
              0u)
        << run.err;
    std::vector<std::string> written(kWaterFiles.begin() + 1, kWaterFiles.end());
    EXPECT_EQ(files_in(dir.path()), written);
    EXPECT_EQ(text_lines(run.out), written);
}

} // namespace
} // namespace tessen::test
