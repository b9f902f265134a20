#include "driver/BatchRun.hpp"

#include "driver/DeckProcess.hpp"
#include "records/Diagnostic.hpp"
#include "records/FileStreams.hpp"
#include "records/Version.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <unistd.h>

namespace tessen {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The names that diagnostics and the -v line give the standard streams.
constexpr const char* kStandardInputName = "<stdin>";
constexpr const char* kStandardOutputName = "<stdout>";

bool is_standard_input(const std::string& deck) {
    return deck == "-";
}

// One command's decks in turn, keeping which report each earlier deck has written, so
// that no report of this command is written over by a later deck's.
class BatchRun {
  public:
    BatchRun(const CommandLine& command, std::ostream& err) : command_(command), err_(err) {}

    int run() {
        int status = kExitOk;
        for (const std::string& deck : command_.decks) {
            try {
                run_deck(deck);
            } catch (const RunError& error) {
                err_ << format_diagnostic(error) << std::flush;
                status = kExitFailed;
            }
        }
        return status;
    }

  private:
    const CommandLine& command_;
    std::ostream& err_;
    std::map<std::filesystem::path, std::string> reports_; // report -> the deck it is of

    // The report named by -o (standard output for -o -), the standard output for a deck
    // read from standard input, or the file beside the deck.
    std::optional<std::string> report_name(const std::string& deck) const {
        if (command_.output)
            return *command_.output == "-" ? std::nullopt : command_.output;
        if (is_standard_input(deck))
            return std::nullopt;
        return report_path_for(deck);
    }

    // The deck is opened first: a deck that cannot be opened claims no report.
    void run_deck(const std::string& deck) {
        if (is_standard_input(deck)) {
            DescriptorSource source(STDIN_FILENO, kStandardInputName);
            run_into(source, kStandardInputName, report_name(deck));
        } else {
            FileSource source(deck);
            run_into(source, deck, report_name(deck));
        }
    }

    // The deck is open; the report is opened now, and the deck runs into it.
    void run_into(DescriptorSource& source, const std::string& deck,
                  const std::optional<std::string>& report) {
        JobSummary summary;
        if (report) {
            claim(*report, deck);
            FileSink sink(*report, source, deck, old_report_closes_from_environment());
            summary = process_deck(source, deck, sink);
        } else {
            DescriptorSink sink(STDOUT_FILENO, kStandardOutputName);
            summary = process_deck(source, deck, sink);
        }
        if (command_.verbose)
            err_ << deck << " -> " << report.value_or(kStandardOutputName) << ": "
                 << summary.molecules << (summary.molecules == 1 ? " molecule, " : " molecules, ")
                 << summary.mass_blocks
                 << (summary.mass_blocks == 1 ? " mass block" : " mass blocks") << '\n'
                 << std::flush;
    }

    // Refuses a report that an earlier deck of this command has written. Reports are
    // known by their absolute path with links resolved as far as the path exists (made
    // absolute first: a relative name of a file not yet written would stay relative).
    void claim(const std::string& report, const std::string& deck) {
        std::error_code ec;
        std::filesystem::path key = std::filesystem::absolute(report, ec);
        if (ec)
            key = report;
        std::filesystem::path resolved = std::filesystem::weakly_canonical(key, ec);
        key = ec ? key.lexically_normal() : resolved;
        const auto [at, added] = reports_.emplace(key, deck);
        if (!added)
            throw RunError(ErrorKind::report_taken, at->second + ": " + deck + " is not run",
                           FileOp::open, report);
    }
};

// The usage or the version on standard output; a write that fails is a failure too.
int answer(const std::string& text, std::ostream& out, std::ostream& err) {
    errno = 0;
    if (out << text << std::flush)
        return kExitOk;
    err << "tessen: standard output: cannot be written"
        << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()) << '\n'
        << std::flush;
    return kExitFailed;
}

} // namespace

std::string report_path_for(const std::string& deck) {
    return std::filesystem::path(deck).replace_extension(".OUT").string();
}

int run_command_line(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParsedCommandLine parsed = parse_command_line(args);
    if (!parsed.command) {
        err << "tessen: " << parsed.error << '\n' << usage_text() << std::flush;
        return kExitUsage;
    }
    const CommandLine& command = *parsed.command;
    switch (command.action) {
    case CommandLine::Action::help:
        return answer(usage_text(), out, err);
    case CommandLine::Action::version:
        return answer(std::string("tessen ") + kVersion + "\n", out, err);
    case CommandLine::Action::run:
        break;
    }
    return BatchRun(command, err).run();
}

} // namespace tessen
