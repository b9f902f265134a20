#include "check/CheckCommand.hpp"

#include "check/DeckChecker.hpp"
#include "check/FindingFormat.hpp"
#include "records/Diagnostic.hpp"
#include "records/FileStreams.hpp"
#include "records/Version.hpp"

#include <ostream>
#include <unistd.h>

namespace tessen::check {

namespace {

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1;
constexpr int kExitTrouble = 2;

constexpr const char* kUsage =
    "usage: tessen-check [--quiet | --json] DECK...\n"
    "       tessen-check --help | --version\n"
    "Reads each deck as tessen reads it and reports what would stop the run (error) and\n"
    "the silent traps (warning), one finding a line: FILE:LINE[:COLUMN]: SEVERITY: TEXT.\n"
    "A DECK of - is read from standard input.\n"
    "  --quiet  print nothing; the exit status tells\n"
    "  --json   the findings as a JSON array (file, line, column, severity, code, message)\n"
    "exit status: 0 no finding; 1 a finding; 2 a deck cannot be read, or a usage error.\n";

struct Options {
    bool quiet = false;
    bool json = false;
    std::vector<std::string> decks;
};

// Checks one deck; false when it cannot be read (said on err).
bool check_one(const std::string& deck, std::vector<Finding>& findings, std::ostream& err) {
    try {
        DeckCheck check;
        if (deck == "-") {
            DescriptorSource source(STDIN_FILENO, "<stdin>");
            check = check_deck(source, "<stdin>", {});
        } else {
            FileSource source(deck);
            check = check_deck(source, deck, {});
        }
        findings.insert(findings.end(), check.findings.begin(), check.findings.end());
        if (check.unreadable) {
            err << "tessen-check: " << deck << ": " << *check.unreadable << "\n";
            return false;
        }
        return true;
    } catch (const RunError& error) {
        err << "tessen-check: " << deck << ": " << error.what() << "\n";
        return false;
    }
}

} // namespace

int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    bool options_end = false;
    for (const std::string& arg : args) {
        if (options_end || arg == "-" || arg.empty() || arg[0] != '-') {
            options.decks.push_back(arg);
        } else if (arg == "--") {
            options_end = true;
        } else if (arg == "-h" || arg == "--help") {
            out << kUsage;
            return kExitClean;
        } else if (arg == "--version") {
            out << "tessen-check " << kVersion << "\n";
            return kExitClean;
        } else if (arg == "-q" || arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--json") {
            options.json = true;
        } else {
            err << "tessen-check: unknown option '" << arg << "'\n" << kUsage;
            return kExitTrouble;
        }
    }
    if (options.decks.empty()) {
        err << "tessen-check: no deck given\n" << kUsage;
        return kExitTrouble;
    }
    std::vector<Finding> findings;
    bool all_read = true;
    for (const std::string& deck : options.decks)
        all_read = check_one(deck, findings, err) && all_read;
    if (options.json && !options.quiet)
        out << findings_json(findings);
    else if (!options.quiet)
        for (const Finding& f : findings)
            out << finding_line(f) << "\n";
    out << std::flush;
    if (!all_read)
        return kExitTrouble;
    return findings.empty() ? kExitClean : kExitFindings;
}

} // namespace tessen::check
