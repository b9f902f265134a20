// What users install: `cmake --install` (what `make install` runs) into a temporary
// prefix, the Debian package that `make package` builds (CPack), looked at with dpkg-deb,
// and the manual pages of both.

#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace tessen::test {
namespace {

// The manual pages that are installed.
const char* const kPages[] = {"tessen.1",     "tessen-xyz.1",  "tessen-check.1",
                              "tessen-rot.1", "tessen-deck.1", "tessen-fit.1"};

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

// The installed or packaged tessen writes for examples/WATER.DAT the report the built one
// writes; returns that report.
std::string expect_report_of_the_built_program(const fs::path& program) {
    ScratchDir work;
    fs::copy_file(source_dir() / "examples/WATER.DAT", work / "WATER.DAT");
    ProgramRun run = run_program({program.string()}, work.path(), "WATER.DAT\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Stop - Program terminated."), std::string::npos) << run.out;
    const std::string report = read_file(work / "WATER.OUT");
    EXPECT_EQ(run_tessen(work.path(), "WATER.DAT\n").status, 0);
    EXPECT_EQ(report, read_file(work / "WATER.OUT"));
    EXPECT_NE(report.find("PRINCIPAL MOMENT OF INERTIA"), std::string::npos);
    return report;
}

TEST(Install, PlacesTheProgramsAndManualPagesUnderThePrefixAndTheyRun) {
    ScratchDir prefix;
    ProgramRun install = run_program(
        {TESSEN_CMAKE, "--install", build_dir().string(), "--prefix", prefix.path().string()},
        prefix.path());
    ASSERT_EQ(install.status, 0) << install.out << install.err;

    EXPECT_TRUE(is_executable(prefix / "bin/tessen"));
    EXPECT_TRUE(is_executable(prefix / "bin/tessen-xyz"));
    EXPECT_TRUE(is_executable(prefix / "bin/tessen-check"));
    EXPECT_TRUE(is_executable(prefix / "bin/tessen-rot"));
    EXPECT_TRUE(is_executable(prefix / "bin/tessen-deck"));
    EXPECT_TRUE(is_executable(prefix / "bin/tessen-fit"));
    for (const char* page : kPages)
        EXPECT_EQ(uncompressed(prefix / "share/man/man1" / (std::string(page) + ".gz")),
                  read_file(source_dir() / "man" / page))
            << page;

    // The installed tessen-xyz reads the installed tessen's report.
    ScratchDir work;
    write_file(work / "WATER.OUT", expect_report_of_the_built_program(prefix / "bin/tessen"));
    ProgramRun xyz = run_program({(prefix / "bin/tessen-xyz").string(), "WATER.OUT"}, work.path());
    EXPECT_EQ(xyz.status, 0) << xyz.err;
    EXPECT_TRUE(fs::exists(work / "WATER_1_principal_3_HD_16_O.xyz"));
}

// The pages render without a warning from the formatter.
TEST(ManualPages, FormatWithoutWarnings) {
    if (!has_program("groff"))
        GTEST_SKIP() << "groff is not installed: skipping the manual page check";
    for (const char* page : kPages) {
        fs::path source = source_dir() / "man" / page;
        ProgramRun run = run_program({"groff", "-man", "-Tutf8", "-ww", "-z", source.string()},
                                     source.parent_path());
        EXPECT_EQ(run.status, 0) << page;
        EXPECT_EQ(run.err, "") << page;
    }
}

// The value of a field of `dpkg-deb --info` ("Package", "Depends", ...).
std::string control_field(const std::string& info, const std::string& field) {
    std::smatch match;
    std::regex line("(^|\\n) " + field + ": ([^\\n]*)");
    return std::regex_search(info, match, line) ? match[2].str() : std::string();
}

// The package names of a Depends field, without their versions.
std::set<std::string> dependency_names(const std::string& depends) {
    std::set<std::string> names;
    std::regex name("(^|[,|]) *([a-z0-9][a-z0-9+.-]*)");
    for (std::sregex_iterator it(depends.begin(), depends.end(), name), end; it != end; ++it)
        names.insert((*it)[2].str());
    return names;
}

// The paths that `dpkg-deb --contents` lists (its last column).
std::set<std::string> listed_paths(const std::string& contents) {
    std::set<std::string> paths;
    for (const std::string& line : text_lines(contents))
        if (std::size_t at = line.rfind(' '); at != std::string::npos)
            paths.insert(line.substr(at + 1));
    return paths;
}

TEST(Package, IsADebianPackageOfBothProgramsAndTheirPagesThatRuns) {
    if (!has_program("dpkg-deb"))
        GTEST_SKIP() << "dpkg-deb is not installed: skipping the package check";
    ScratchDir out;
    ProgramRun cpack =
        run_program({TESSEN_CPACK, "-G", "DEB", "--config",
                     (build_dir() / "CPackConfig.cmake").string(), "-B", out.path().string()},
                    out.path());
    ASSERT_EQ(cpack.status, 0) << cpack.out << cpack.err;
    std::string arch = run_program({"dpkg", "--print-architecture"}, out.path()).out;
    arch.erase(arch.find_last_not_of('\n') + 1);
    fs::path deb = out / ("tessen_" + std::string(TESSEN_VERSION) + "_" + arch + ".deb");
    ASSERT_TRUE(fs::exists(deb)) << cpack.out;

    ProgramRun info = run_program({"dpkg-deb", "--info", deb.string()}, out.path());
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(control_field(info.out, "Package"), "tessen");
    EXPECT_EQ(control_field(info.out, "Version"), TESSEN_VERSION);
    EXPECT_EQ(control_field(info.out, "Architecture"), arch);
    EXPECT_NE(control_field(info.out, "Description"), "");
    EXPECT_NE(control_field(info.out, "Maintainer"), "");
    // The C and C++ run-time libraries and Open Babel's library (tessen-deck), nothing else.
    std::set<std::string> depends = dependency_names(control_field(info.out, "Depends"));
    EXPECT_TRUE(depends.count("libc6")) << control_field(info.out, "Depends");
    for (const std::string& name : depends)
        EXPECT_TRUE(name == "libc6" || name == "libgcc-s1" || name == "libstdc++6" ||
                    name.rfind("libopenbabel", 0) == 0)
            << name;

    ProgramRun contents = run_program({"dpkg-deb", "--contents", deb.string()}, out.path());
    ASSERT_EQ(contents.status, 0) << contents.err;
    std::set<std::string> paths = listed_paths(contents.out);
    for (const char* path :
         {"./usr/bin/tessen", "./usr/bin/tessen-xyz", "./usr/bin/tessen-check",
          "./usr/bin/tessen-rot", "./usr/share/man/man1/tessen.1.gz",
          "./usr/share/man/man1/tessen-xyz.1.gz", "./usr/share/man/man1/tessen-check.1.gz",
          "./usr/share/man/man1/tessen-rot.1.gz", "./usr/bin/tessen-deck",
          "./usr/share/man/man1/tessen-deck.1.gz", "./usr/bin/tessen-fit",
          "./usr/share/man/man1/tessen-fit.1.gz"})
        EXPECT_TRUE(paths.count(path)) << path << " missing from\n" << contents.out;
    for (const std::string& path : paths)
        EXPECT_EQ(path.rfind("./usr/", 0), 0u) << path;

    ASSERT_EQ(run_program({"dpkg-deb", "-x", deb.string(), "root"}, out.path()).status, 0);
    expect_report_of_the_built_program(out / "root/usr/bin/tessen");
}

} // namespace
} // namespace tessen::test
