#include "support/TestSupport.hpp"

#include "driver/JobLoop.hpp"
#include "records/ByteStreams.hpp"
#include "records/InputDeck.hpp"
#include "records/ReportFile.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace tessen::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "tessen-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a scratch folder");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string read_file(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

RunResult run_tessen(const fs::path& dir, const std::string& console_input) {
    write_file(dir / ".stdin", console_input);
    std::string cmd = "cd '";
    cmd += dir.string();
    cmd += "' && '" TESSEN_BINARY "' <.stdin >.stdout 2>.stderr";
    int raw = std::system(cmd.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = read_file(dir / ".stdout");
    r.err = read_file(dir / ".stderr");
    fs::remove(dir / ".stdin");
    fs::remove(dir / ".stdout");
    fs::remove(dir / ".stderr");
    return r;
}

std::string crlf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::string visible(const std::string& line) {
    std::string s;
    for (char c : line) {
        if (c == '\r')
            s += "\\r";
        else if (c == '\t')
            s += "\\t";
        else
            s += c;
    }
    return s;
}

namespace {
std::string line_at(const std::string& text, std::size_t start) {
    std::size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
}
} // namespace

std::string first_difference(const std::string& expected, const std::string& actual) {
    std::size_t start = 0;
    int line = 1;
    while (true) {
        std::string e = start < expected.size() ? line_at(expected, start) : "";
        std::string a = start < actual.size() ? line_at(actual, start) : "";
        if (e != a) {
            std::ostringstream s;
            s << "first difference at line " << line << "\n  expected: ";
            if (start < expected.size())
                s << '[' << visible(e) << ']';
            else
                s << "<end>";
            s << "\n  actual:   ";
            if (start < actual.size())
                s << '[' << visible(a) << ']';
            else
                s << "<end>";
            return s.str();
        }
        if (e.empty())
            return "no difference";
        start += e.size();
        ++line;
    }
}

fs::path test_dir() {
    return fs::path(TESSEN_TEST_DIR);
}

DeckRun run_deck(const std::string& deck) {
    MemorySource source(deck);
    MemorySink sink;
    InputDeck input(source, "TEST.DAT");
    ReportFile report(sink);
    DeckRun result;
    try {
        run_job_loop(input, report);
    } catch (const RunError& e) {
        result.error = e.kind();
        result.message = e.what();
    }
    report.close();
    result.report = sink.bytes();
    return result;
}

std::vector<std::string> split_lines(const std::string& text, std::string_view line_end) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(line_end, start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + line_end.size();
    }
    return lines;
}

std::vector<std::string> report_lines(const std::string& report) {
    return split_lines(report, "\r\n");
}

std::string atom_record(int i, int j, int k, int l, double r, double a, double t, double m) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%3d%3d%3d%3d%12.6f%12.6f%12.6f%12.6f\n", i, j, k, l, r, a, t,
                  m);
    return buf;
}

std::vector<std::string> lines_after(const std::string& report, const std::string& from,
                                     std::size_t count, std::size_t occurrence) {
    std::vector<std::string> lines = report_lines(report);
    for (std::size_t at = 0; at < lines.size(); ++at) {
        if (lines[at] == from && --occurrence == 0) {
            std::size_t end = std::min(lines.size(), at + count);
            return {lines.begin() + static_cast<std::ptrdiff_t>(at),
                    lines.begin() + static_cast<std::ptrdiff_t>(end)};
        }
    }
    return {};
}

} // namespace tessen::test
