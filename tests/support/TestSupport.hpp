#pragma once

#include <filesystem>
#include <string>

namespace tessen::test {

// A fresh empty folder under the system's temporary folder, removed on destruction.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// What one run of the built tessen gave.
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built tessen in folder dir with the given text as its standard input.
RunResult run_tessen(const std::filesystem::path& dir, const std::string& console_input);

std::string read_file(const std::filesystem::path& file);
void write_file(const std::filesystem::path& file, const std::string& bytes);

// The text with every LF turned into CR LF (expected reports are written with \n).
std::string crlf(const std::string& text);

// The line with carriage returns and tabs shown as \r and \t.
std::string visible(const std::string& line);

// A readable account of the first line where two texts differ, for failure messages.
std::string first_difference(const std::string& expected, const std::string& actual);

// The folder of the test sources (tests/).
std::filesystem::path test_dir();

} // namespace tessen::test

#include "records/Diagnostic.hpp"

#include <optional>
#include <vector>

namespace tessen::test {

// A deck run through the job loop in memory: the report it wrote and the diagnostic
// that ended it, if any.
struct DeckRun {
    std::string report;
    std::optional<ErrorKind> error;
    std::string message;
};
DeckRun run_deck(const std::string& deck);

// The text split at each line end; a last line without one is kept too.
std::vector<std::string> split_lines(const std::string& text, std::string_view line_end);

// The report lines (without CR LF) of a report.
std::vector<std::string> report_lines(const std::string& report);

} // namespace tessen::test

namespace tessen::test {

// One atom record in its columns: I, J, K, L by I3 and R, A, T, M by F12.6.
std::string atom_record(int i, int j, int k, int l, double r, double a, double t, double m);

// The report lines from the first line equal to `from` (inclusive) on, count lines.
std::vector<std::string> lines_after(const std::string& report, const std::string& from,
                                     std::size_t count, std::size_t occurrence = 1);

} // namespace tessen::test

#include "records/Console.hpp"

namespace tessen::test {

// Typed lines for the console; an empty optional is a read that fails.
class ScriptedInput : public ConsoleInput {
  public:
    explicit ScriptedInput(std::vector<std::optional<std::string>> lines)
        : lines_(std::move(lines)) {}
    bool read_line(std::string& line) override {
        if (next_ >= lines_.size() || !lines_[next_]) {
            ++next_;
            return false;
        }
        line = *lines_[next_++];
        return true;
    }

  private:
    std::vector<std::optional<std::string>> lines_;
    std::size_t next_ = 0;
};

} // namespace tessen::test
