#include "driver/DelimitedMessage.hpp"
#include "driver/Program.hpp"
#include "driver/ReportName.hpp"
#include "support/Files.hpp"
#include "support/Programs.hpp"
#include "support/ScriptedInput.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace tessen {
namespace {

using test::ProgramRun;
using test::read_file;
using test::run_tessen;
using test::ScratchDir;
using test::ScriptedInput;
using test::write_file;
namespace fs = std::filesystem;

const std::string kBanner = "Program TESSEN\r\n";
const std::string kPrompt = "Enter name of the input file, with extension ";
const std::string kNotFound = " GETNAME: FILE NOT FOUND - RETYPE.";
const std::string kReadFailed =
    "\r\nAN ERROR WAS ENCOUNTERED READING\r\nTHAT NAME,  PLEASE RE-ENTER "
    "OR\r\nCHOOSE ANOTHER NAME";
const std::string kStop = "Stop - Program terminated.\r\n";

std::string report_name(const std::string& input) {
    FileName name(input);
    const std::optional<std::int32_t> stem = FINDDOT(name);
    return stem ? std::string(report_name_for(name, *stem).view()) : "<no period>";
}

TEST(ReportName, StemFollowedByOutCutToTwelve) {
    EXPECT_EQ(report_name("MOLECULE.DAT"), "MOLECULE.OUT");
    EXPECT_EQ(report_name("WATER.DAT"), "WATER.OUT   ");
    EXPECT_EQ(report_name("ABCDEFGHI.XY"), "ABCDEFGHI.OU");
    EXPECT_EQ(report_name("ABCDEFGHIJ.X"), "ABCDEFGHIJ.O");
    EXPECT_EQ(report_name("ABCDEFGHIJK."), "ABCDEFGHIJK.");
    EXPECT_EQ(report_name("A.B.C"), "A.OUT       ");
    EXPECT_EQ(report_name(".DAT"), "<no period>");
    EXPECT_EQ(report_name("NOPERIOD"), "<no period>");
}

TEST(DelimitedMessage, LengthRunsToTheFirstClosingDelimiter) {
    EXPECT_EQ(DELIMLEN("\\AB\\CD\\", 100), 3);
    EXPECT_EQ(DELIMLEN("\\Enter name of the input file, with extension\\   ", 72), 45);
    EXPECT_EQ(DELIMLEN("\\no closing delimiter", 100), std::nullopt);
    EXPECT_EQ(DELIMLEN("\\ABC\\", 4), std::nullopt); // past the declared length
    EXPECT_EQ(DELIMLEN("\\" + std::string(99, 'x') + "\\", 200), std::nullopt); // past 100
}

// Runs the built program in a fresh folder holding the given files.
struct StartUp : ::testing::Test {
    ScratchDir dir;
    ProgramRun run(const std::string& typed) { return run_tessen(dir.path(), typed); }
};

TEST_F(StartUp, PromptNamesAndEndRecordOnly) {
    write_file(dir / "MOLECULE.DAT", "999\n");
    auto r = run("MOLECULE.DAT\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kBanner + kPrompt +
                         "input file is MOLECULE.DAT, output file is MOLECULE.OUT\r\n\r\n\r\n" +
                         kStop);
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(fs::exists(dir / "MOLECULE.OUT"));
    EXPECT_EQ(fs::file_size(dir / "MOLECULE.OUT"), 0u);
}

// A typed name holding a NUL byte is not found, and after the fourth name its open fails
// the same way: the NUL never cuts the name short so that another file is opened instead.
TEST_F(StartUp, NameHoldingANulFailsAtTheOpenAndOpensNoOtherFile) {
    write_file(dir / "A", " -9\n");
    const std::string nul_name("A\0.DAT\n", 7);
    auto nul = run(nul_name + nul_name + nul_name + nul_name);
    EXPECT_EQ(nul.status, 1);
    EXPECT_EQ(nul.out.find("input file is A"), nul.out.rfind("input file is A")); // once
    EXPECT_EQ(nul.err.rfind("\nrun-time error T1001: OPEN(A", 0), 0u) << nul.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    EXPECT_EQ(read_file(dir / "A"), " -9\n");
}

TEST_F(StartUp, NameWithoutAPeriodStopsWithoutOpeningAnything) {
    write_file(dir / "NOPERIOD", "999\n");
    auto r = run("NOPERIOD\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kBanner + kPrompt +
                         "NO PERIOD FOUND IN FILENAME\r\n PROGRAM STOPS; TRY AGAIN.\t\r\n" + kStop);
    EXPECT_EQ(fs::directory_entry(dir / "NOPERIOD").file_size(), 4u);
}

TEST_F(StartUp, TypedLineLongerThanTwelveCharacters) {
    write_file(dir / "LONGNAME.DAT", "999\n");
    auto r = run("LONGNAME.DAT.IGNORED\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("input file is LONGNAME.DAT, output file is LONGNAME.OUT"),
              std::string::npos);
}

TEST_F(StartUp, EndOfConsoleInputGivesUpAfterFourPrompts) {
    auto r = run("");
    std::string prompts;
    for (int k = 0; k < 4; ++k)
        prompts += (k ? "\r\n" : "") + kPrompt + kReadFailed;
    EXPECT_EQ(r.out, kBanner + prompts +
                         "\r\nNO PERIOD FOUND IN FILENAME\r\n PROGRAM STOPS; TRY AGAIN.\t\r\n" +
                         kStop);
    EXPECT_EQ(r.status, 0);
}

// Runs the program in this process, in the scratch folder.
struct InProcess : ::testing::Test {
    ScratchDir dir;
    fs::path home = fs::current_path();
    void SetUp() override { fs::current_path(dir.path()); }
    void TearDown() override { fs::current_path(home); }
};

TEST_F(InProcess, FailedReadBetweenMissingNamesDoesNotUseUpAName) {
    write_file(dir / "GOOD.DAT", "999\n");
    ScriptedInput in({std::string("A.DAT"), std::nullopt, std::string("B.DAT"),
                      std::string("C.DAT"), std::string("GOOD.DAT")});
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(run_program(out, err, in), 0);
    EXPECT_EQ(out.str(), kBanner + kPrompt + kNotFound + "\r\n" + kPrompt + kReadFailed + "\r\n" +
                             kPrompt + kNotFound + "\r\n" + kPrompt + kNotFound + "\r\n" + kPrompt +
                             "input file is GOOD.DAT    , output file is GOOD.OUT    \r\n\r\n\r\n" +
                             kStop);
    EXPECT_EQ(err.str(), "");
}

} // namespace
} // namespace tessen
