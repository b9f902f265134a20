#include "check/CheckCommand.hpp"

#include "check/DeckChecker.hpp"
#include "check/FindingFormat.hpp"
#include "companion/RunCompanion.hpp"
#include "records/Diagnostic.hpp"

#include <ostream>

namespace tessen::check {

namespace {

using companion::kExitFailed; // a deck has a finding
using companion::kExitOk;
using companion::kExitUsage; // also: a deck cannot be read

constexpr const char* kUsage =
    "usage: tessen-check [--quiet | --json] DECK...\n"
    "       tessen-check --help | --version\n"
    "Reads each deck as tessen reads it and reports what would stop the run (error) and\n"
    "the silent traps (warning), one finding a line: FILE:LINE[:COLUMN]: SEVERITY: TEXT.\n"
    "A DECK of - is read from standard input.\n"
    "  --quiet  print nothing; the exit status tells\n"
    "  --json   the findings as a JSON array (file, line, column, severity, code, message)\n"
    "exit status: 0 no finding; 1 a finding; 2 a deck cannot be read, or a usage error.\n";

// Checks one deck; false when it cannot be read (told on standard error).
bool check_one(const std::string& deck, std::vector<Finding>& findings,
               companion::Streams& streams) {
    const std::string name = companion::input_name(deck);
    try {
        const auto source = companion::open_input(deck);
        const DeckCheck check = check_deck(*source, name, {});
        findings.insert(findings.end(), check.findings.begin(), check.findings.end());
        if (check.unreadable)
            streams.report(companion::CommandError(kExitUsage, *check.unreadable, name));
        return !check.unreadable;
    } catch (const RunError& error) {
        streams.report(companion::command_error(error, kExitUsage));
        return false;
    }
}

int check_decks(const companion::Arguments& options, companion::Streams& streams) {
    const bool quiet = options.has("-q") || options.has("--quiet");
    std::vector<Finding> findings;
    bool all_read = true;
    for (const std::string& deck : options.operands)
        all_read = check_one(deck, findings, streams) && all_read;
    if (options.has("--json") && !quiet)
        streams.out().write(findings_json(findings));
    else if (!quiet)
        for (const Finding& f : findings)
            streams.out().write(finding_line(f) + "\n");
    if (!all_read)
        return kExitUsage;
    return findings.empty() ? kExitOk : kExitFailed;
}

} // namespace

int run_check(const std::vector<std::string>& args, std::ostream& err) {
    const companion::CommandDefinition command{
        "tessen-check", kUsage, {"-q", "--quiet", "--json"}, {}};
    return companion::run_companion(args, command, check_decks, err);
}

} // namespace tessen::check
