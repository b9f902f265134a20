// The reference cases: every case in tests/golden/ is one test, Golden.NAME.
//
// Each test runs the built tessen in a fresh temporary folder holding only NAME.DAT, types
// `NAME.DAT` at its prompt, and compares with the reference files (tests/golden/README.md):
//   - the exit status with the first line of NAME.status;
//   - standard output with NAME.console, byte for byte;
//   - the report NAME.OUT byte for byte (or that no report exists where none is expected);
//   - standard error with the rest of NAME.status, by shape only (see check_stderr_shape);
//   - that the deck NAME.DAT is byte for byte what it was before the run.
// To see a failing case side by side: tests/golden/compare.sh NAME [path-to-tessen].

#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tessen::test;

fs::path golden_dir() {
    return test_dir() / "golden";
}

// The case names: the stems of tests/golden/*.DAT, sorted.
std::vector<std::string> case_names() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(golden_dir(), ec))
        if (entry.is_regular_file() && entry.path().extension() == ".DAT")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The words `floating-point error: KIND` in a line, or nothing.
std::optional<std::string> floating_point_kind(const std::string& line) {
    static const std::regex fp("floating-point error: ([A-Za-z-]+)");
    std::smatch m;
    if (std::regex_search(line, m, fp))
        return m[1].str();
    return std::nullopt;
}

// Compares standard error by the shape of the README: a first empty line; a second line
// `run-time error ` + one letter and four digits, followed by `: OPEN(name)` or
// `: READ(name)` exactly where the reference has one (same op and name) and by nothing
// else; a third line starting with `- `; where the reference says
// `floating-point error: KIND`, the same words and kind (and, conversely, no such words
// where the reference has none). With no reference diagnostic, standard error is empty.
// Returns a description of the first departure, or nothing.
std::optional<std::string> check_stderr_shape(const std::string& expected,
                                              const std::string& actual) {
    std::ostringstream why;
    if (expected.empty()) {
        if (actual.empty())
            return std::nullopt;
        why << "expected no standard error; actual:\n" << actual;
        return why.str();
    }
    const std::vector<std::string> e = split_lines(expected, "\n");
    const std::vector<std::string> a = split_lines(actual, "\n");
    auto line_of = [](const std::vector<std::string>& v, std::size_t i) {
        return i < v.size() ? shown(v[i]) : std::string("<end>");
    };
    auto fail = [&](std::size_t i, const std::string& rule) {
        std::ostringstream s;
        s << "standard error, line " << i + 1 << ": " << rule << "\n  reference: " << line_of(e, i)
          << "\n  actual:    " << line_of(a, i);
        return s.str();
    };

    if (a.size() != e.size()) {
        std::size_t i = std::min(a.size(), e.size());
        return fail(i, "expected " + std::to_string(e.size()) + " lines, got " +
                           std::to_string(a.size()));
    }
    if (expected.back() == '\n' && actual.back() != '\n')
        return fail(a.size() - 1, "last line not ended by LF");
    if (e.size() != 3)
        return fail(0, "reference standard error is not three lines (bad NAME.status?)");

    if (!a[0].empty())
        return fail(0, "expected an empty line");

    static const std::regex head("^run-time error [A-Za-z][0-9]{4}(.*)$");
    std::smatch me, ma;
    if (!std::regex_match(e[1], me, head))
        return fail(1, "reference line is not `run-time error Xnnnn...` (bad NAME.status?)");
    if (!std::regex_match(a[1], ma, head))
        return fail(1, "expected `run-time error ` and a code of one letter and four digits");
    if (ma[1].str() != me[1].str())
        return fail(1, me[1].str().empty() ? "expected nothing after the code"
                                           : "expected `" + me[1].str() + "` after the code");

    if (a[2].rfind("- ", 0) != 0)
        return fail(2, "expected a line starting with `- `");
    std::optional<std::string> ek = floating_point_kind(e[2]);
    std::optional<std::string> ak = floating_point_kind(a[2]);
    if (ek != ak)
        return fail(2, ek ? "expected `floating-point error: " + *ek + "`"
                          : "reference is not a floating-point error");
    return std::nullopt;
}

// One reference case, checked as the file comment says.
void check_case(const std::string& name) {
    const fs::path gold = golden_dir();
    ASSERT_TRUE(fs::exists(gold / (name + ".console"))) << name << ".console missing";
    ASSERT_TRUE(fs::exists(gold / (name + ".status"))) << name << ".status missing";
    const std::string deck = read_file(gold / (name + ".DAT"));
    const std::string console = read_file(gold / (name + ".console"));
    const std::string status_file = read_file(gold / (name + ".status"));
    const bool report_expected = fs::exists(gold / (name + ".OUT"));
    const std::string report = report_expected ? read_file(gold / (name + ".OUT")) : "";

    const std::size_t nl = status_file.find('\n');
    ASSERT_NE(nl, std::string::npos) << name << ".status has no first line";
    const int expected_status = std::stoi(status_file.substr(0, nl));
    const std::string expected_err = status_file.substr(nl + 1);

    ScratchDir dir;
    write_file(dir / (name + ".DAT"), deck);
    const ProgramRun r = run_tessen(dir.path(), name + ".DAT\n");

    const std::string hint =
        "\n  (side by side: tests/golden/compare.sh " + name + " " + tessen_binary() + ")";

    EXPECT_EQ(r.status, expected_status) << "exit status of case " << name << hint;

    if (r.out != console)
        ADD_FAILURE() << "standard output (" << name << ".console) "
                      << first_difference(console, r.out) << hint;

    const fs::path out = dir / (name + ".OUT");
    if (report_expected) {
        if (!fs::exists(out))
            ADD_FAILURE() << "no report " << name << ".OUT was written" << hint;
        else {
            const std::string actual_report = read_file(out);
            if (actual_report != report)
                ADD_FAILURE() << "report " << name << ".OUT "
                              << first_difference(report, actual_report) << hint;
        }
    } else {
        EXPECT_FALSE(fs::exists(out))
            << "a report " << name << ".OUT was written where none is expected" << hint;
    }

    if (std::optional<std::string> why = check_stderr_shape(expected_err, r.err))
        ADD_FAILURE() << *why << hint;

    const fs::path deck_after = dir / (name + ".DAT");
    EXPECT_TRUE(fs::exists(deck_after) && read_file(deck_after) == deck)
        << "the deck " << name << ".DAT was changed or removed by the run";
}

// One test per case, named Golden.NAME (registered directly rather than through a
// value-parameterised suite, so that CTest's test names are the bare case names).
class GoldenCase : public ::testing::Test {
  public:
    explicit GoldenCase(std::string name) : name_(std::move(name)) {}
    void TestBody() override { check_case(name_); }

  private:
    std::string name_;
};

const bool golden_cases_registered = [] {
    for (const std::string& name : case_names())
        ::testing::RegisterTest("Golden", name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                                [name]() -> ::testing::Test* { return new GoldenCase(name); });
    return true;
}();

// INDEX.md and the files agree: every listed case has its deck, console and status files
// with the listed exit status, and every deck is listed. Guards against a lost case.
TEST(GoldenIndex, ListsEveryCase) {
    const fs::path gold = golden_dir();
    ASSERT_TRUE(fs::exists(gold / "INDEX.md")) << gold << "/INDEX.md missing";
    static const std::regex row(R"(^\|\s*([A-Za-z0-9_]+)\s*\|\s*(-?[0-9]+)\s*\|.*)");
    std::map<std::string, int> listed;
    for (const std::string& line : split_lines(read_file(gold / "INDEX.md"), "\n")) {
        std::smatch m;
        if (std::regex_match(line, m, row))
            listed[m[1].str()] = std::stoi(m[2].str());
    }
    const std::vector<std::string> names = case_names();
    EXPECT_FALSE(names.empty()) << "no cases found in " << gold;
    EXPECT_EQ(names.size(), listed.size()) << "cases on disk and in INDEX.md";
    for (const std::string& name : names)
        EXPECT_TRUE(listed.count(name)) << name << ".DAT is not listed in INDEX.md";
    for (const auto& [name, status] : listed) {
        EXPECT_TRUE(fs::exists(gold / (name + ".DAT"))) << name << ".DAT missing";
        EXPECT_TRUE(fs::exists(gold / (name + ".console"))) << name << ".console missing";
        ASSERT_TRUE(fs::exists(gold / (name + ".status"))) << name << ".status missing";
        const std::string s = read_file(gold / (name + ".status"));
        EXPECT_EQ(std::stoi(s.substr(0, s.find('\n'))), status)
            << name << ": INDEX.md and " << name << ".status disagree";
    }
}

} // namespace
