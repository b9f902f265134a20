// `cmake --install` (what `make install` runs) into a temporary prefix, and the
// installed programs at work.

#include "ToolsSupport.hpp"

#include <gtest/gtest.h>

namespace tessen::tools_test {
namespace {

bool is_executable(const fs::path& file) {
    return fs::is_regular_file(file) &&
           (fs::status(file).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

// The text of a compressed manual page.
std::string uncompressed(const fs::path& page) {
    ProgramRun run = run_program({"gzip", "-dc", page.string()}, page.parent_path());
    EXPECT_EQ(run.status, 0) << page << ": " << run.err;
    return run.out;
}

TEST(Install, PlacesTheProgramsAndManualPagesUnderThePrefixAndTheyRun) {
    Scratch prefix;
    ProgramRun install = run_program(
        {TESSEN_CMAKE, "--install", build_dir().string(), "--prefix", prefix.path().string()},
        prefix.path());
    ASSERT_EQ(install.status, 0) << install.out << install.err;

    EXPECT_TRUE(is_executable(prefix / "bin/tessen"));
    EXPECT_TRUE(is_executable(prefix / "bin/tessen-xyz"));
    for (const char* page : {"tessen.1", "tessen-xyz.1"})
        EXPECT_EQ(uncompressed(prefix / "share/man/man1" / (std::string(page) + ".gz")),
                  read_file(source_dir() / "man" / page))
            << page;

    // The installed tessen writes the same report as the built one.
    Scratch work;
    fs::copy_file(source_dir() / "examples/WATER.DAT", work / "WATER.DAT");
    ProgramRun run = run_program({(prefix / "bin/tessen").string()}, work.path(), "WATER.DAT\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Stop - Program terminated."), std::string::npos) << run.out;
    std::string installed_report = read_file(work / "WATER.OUT");
    ASSERT_EQ(run_tessen(work.path(), "WATER.DAT").status, 0);
    EXPECT_EQ(installed_report, read_file(work / "WATER.OUT"));
    EXPECT_NE(installed_report.find("PRINCIPAL MOMENT OF INERTIA"), std::string::npos);

    ProgramRun xyz = run_program({(prefix / "bin/tessen-xyz").string(), "WATER.OUT"}, work.path());
    EXPECT_EQ(xyz.status, 0) << xyz.err;
    EXPECT_TRUE(fs::exists(work / "WATER_1_principal_3.xyz"));
}

// The pages render without a warning from the formatter.
TEST(ManualPages, FormatWithoutWarnings) {
    if (!has_program("groff"))
        GTEST_SKIP() << "groff is not installed: skipping the manual page check";
    for (const char* page : {"tessen.1", "tessen-xyz.1"}) {
        fs::path source = source_dir() / "man" / page;
        ProgramRun run = run_program({"groff", "-man", "-Tutf8", "-ww", "-z", source.string()},
                                     source.parent_path());
        EXPECT_EQ(run.status, 0) << page;
        EXPECT_EQ(run.err, "") << page;
    }
}

} // namespace
} // namespace tessen::tools_test
