// The Debian package that `make package` builds (CPack), looked at with dpkg-deb.

#include "ToolsSupport.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace tessen::tools_test {
namespace {

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
    for (const std::string& line : lines_of(contents))
        if (std::size_t at = line.rfind(' '); at != std::string::npos)
            paths.insert(line.substr(at + 1));
    return paths;
}

TEST(Package, IsADebianPackageOfBothProgramsAndTheirPagesThatRuns) {
    if (!has_program("dpkg-deb"))
        GTEST_SKIP() << "dpkg-deb is not installed: skipping the package check";
    Scratch out;
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
    // The C and C++ run-time libraries, nothing else.
    std::set<std::string> depends = dependency_names(control_field(info.out, "Depends"));
    EXPECT_TRUE(depends.count("libc6")) << control_field(info.out, "Depends");
    for (const std::string& name : depends)
        EXPECT_TRUE(name == "libc6" || name == "libgcc-s1" || name == "libstdc++6") << name;

    ProgramRun contents = run_program({"dpkg-deb", "--contents", deb.string()}, out.path());
    ASSERT_EQ(contents.status, 0) << contents.err;
    std::set<std::string> paths = listed_paths(contents.out);
    for (const char* path :
         {"./usr/bin/tessen", "./usr/bin/tessen-xyz", "./usr/share/man/man1/tessen.1.gz",
          "./usr/share/man/man1/tessen-xyz.1.gz"})
        EXPECT_TRUE(paths.count(path)) << path << " missing from\n" << contents.out;
    for (const std::string& path : paths)
        EXPECT_EQ(path.rfind("./usr/", 0), 0u) << path;

    // Unpacked, the program writes the same report as the built one.
    ASSERT_EQ(run_program({"dpkg-deb", "-x", deb.string(), "root"}, out.path()).status, 0);
    Scratch work;
    fs::copy_file(source_dir() / "examples/WATER.DAT", work / "WATER.DAT");
    ProgramRun run =
        run_program({(out / "root/usr/bin/tessen").string()}, work.path(), "WATER.DAT\n");
    EXPECT_EQ(run.status, 0) << run.err;
    std::string packaged_report = read_file(work / "WATER.OUT");
    ASSERT_EQ(run_tessen(work.path(), "WATER.DAT").status, 0);
    EXPECT_EQ(packaged_report, read_file(work / "WATER.OUT"));
}

} // namespace
} // namespace tessen::tools_test
