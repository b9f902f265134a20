// tessen [OPTIONS] DECK...: the built program run as a script runs it.

#include "driver/BatchRun.hpp"
#include "driver/CommandLine.hpp"
#include "records/Version.hpp"
#include "support/Decks.hpp"
#include "support/Files.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>

namespace tessen::test {
namespace {

std::string water_deck() {
    return water_molecule(1) + isotope_header(-6, "D2(16)O") +
           mass_record({15.994915, 2.014102, 2.014102}) + kEndRecord;
}

std::string bad_deck() {
    std::string deck = water_deck();
    return deck.replace(deck.find("0.957200"), 8, "0.95.200");
}

struct CommandLineRun : ::testing::Test {
    ScratchDir dir;
    ProgramRun tessen(const std::vector<std::string>& args, const std::string& input = {}) {
        std::vector<std::string> argv{tessen_binary()};
        argv.insert(argv.end(), args.begin(), args.end());
        return run_program(argv, dir.path(), input);
    }
    // The report that the console dialogue writes for the deck.
    std::string dialogue_report(const std::string& deck) {
        ScratchDir other;
        write_file(other / "W.DAT", deck);
        EXPECT_EQ(run_tessen(other.path(), "W.DAT\n").status, 0);
        return read_file(other / "W.OUT");
    }
};

// A long name with spaces in another folder, standard input to standard output, and -o:
// the same bytes as the dialogue writes, and nothing on the console.
TEST_F(CommandLineRun, EveryWayOfRunningWritesTheDialoguesReport) {
    const std::string expected = dialogue_report(water_deck());
    fs::create_directory(dir / "some dir");
    write_file(dir / "some dir" / "pyridine_b3lyp_opt.dat", water_deck());

    ProgramRun named = tessen({"some dir/pyridine_b3lyp_opt.dat"});
    EXPECT_EQ(named.status, 0);
    EXPECT_EQ(named.out + named.err, "");
    EXPECT_EQ(read_file(dir / "some dir" / "pyridine_b3lyp_opt.OUT"), expected);

    ProgramRun piped = tessen({"-"}, water_deck());
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, expected);
    EXPECT_EQ(piped.err, "");

    ProgramRun output = tessen({"-o", "elsewhere.txt", "some dir/pyridine_b3lyp_opt.dat"});
    EXPECT_EQ(output.status, 0);
    EXPECT_EQ(read_file(dir / "elsewhere.txt"), expected);
}

// A bad deck among good ones: the others still run, the diagnostic names its deck and
// line, and the exit status is 1.
TEST_F(CommandLineRun, SeveralDecksWithOneBad) {
    write_file(dir / "A.DAT", water_deck());
    write_file(dir / "B.DAT", bad_deck());
    write_file(dir / "C.DAT", water_deck());
    ProgramRun r = tessen({"-v", "A.DAT", "B.DAT", "C.DAT"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "A.DAT -> A.OUT: 1 molecule, 2 mass blocks\n"
                     "\nrun-time error T2002: READ(B.DAT)\n"
                     "- invalid character in numeric field: line 7, columns 13-24 '    0.95.200'\n"
                     "C.DAT -> C.OUT: 1 molecule, 2 mass blocks\n");
    EXPECT_EQ(read_file(dir / "A.OUT"), read_file(dir / "C.OUT"));
    EXPECT_TRUE(fs::exists(dir / "B.OUT")); // what was written before the fault
}

// Two decks whose reports would be one file: the second is refused and the first report
// kept. A deck named like its own report is refused, and nothing is written.
TEST_F(CommandLineRun, ReportsAreNeverWrittenOver) {
    write_file(dir / "CH3F.V1", water_deck());
    write_file(dir / "CH3F.V2", bad_deck());
    ProgramRun twice = tessen({"CH3F.V1", "CH3F.V2"});
    EXPECT_EQ(twice.status, 1);
    EXPECT_EQ(twice.err, "\nrun-time error T1005: OPEN(CH3F.OUT)\n"
                         "- report file is already the report of CH3F.V1: CH3F.V2 is not run\n");
    EXPECT_EQ(read_file(dir / "CH3F.OUT"), dialogue_report(water_deck()));

    write_file(dir / "X.OUT", water_deck());
    ProgramRun self = tessen({"X.OUT"});
    EXPECT_EQ(self.status, 1);
    EXPECT_EQ(self.err.rfind("\nrun-time error T1002: OPEN(X.OUT)\n- ", 0), 0u) << self.err;
    EXPECT_EQ(read_file(dir / "X.OUT"), water_deck());
}

TEST_F(CommandLineRun, UsageErrorsHelpAndVersion) {
    write_file(dir / "A.DAT", water_deck());
    const std::vector<std::vector<std::string>> wrong{
        {"-x", "A.DAT"}, {"-o", "R", "A.DAT", "A.DAT"}, {"-v"}, {"-", "-"}, {"A.DAT", "-o"}};
    for (const auto& args : wrong) {
        ProgramRun r = tessen(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(usage_text()), std::string::npos) << args[0];
    }
    EXPECT_FALSE(fs::exists(dir / "A.OUT"));
    EXPECT_FALSE(fs::exists(dir / "R"));

    ProgramRun help = tessen({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, usage_text());
    EXPECT_EQ(tessen({"--version"}).out, std::string("tessen ") + kVersion + "\n");
    ProgramRun xyz = run_xyz(dir.path(), {"--version"});
    EXPECT_EQ(xyz.status, 0);
    EXPECT_EQ(xyz.out, std::string("tessen-xyz ") + kVersion + "\n");
}

TEST(CommandLine, ReportPathReplacesTheLastExtensionOfTheFileName) {
    EXPECT_EQ(report_path_for("dir/name.ext"), "dir/name.OUT");
    EXPECT_EQ(report_path_for("a.tar.gz"), "a.tar.OUT");
    EXPECT_EQ(report_path_for("name"), "name.OUT");
    EXPECT_EQ(report_path_for("dir.d/name"), "dir.d/name.OUT");
    EXPECT_EQ(report_path_for(".hidden"), ".hidden.OUT");
}

TEST(CommandLine, DoubleDashMakesTheRestDecks) {
    const ParsedCommandLine parsed = parse_command_line({"--output=R", "--", "-v"});
    ASSERT_TRUE(parsed.command) << parsed.error;
    EXPECT_EQ(parsed.command->decks, std::vector<std::string>{"-v"});
    EXPECT_EQ(parsed.command->output, "R");
    EXPECT_FALSE(parsed.command->verbose);
}

} // namespace
} // namespace tessen::test
