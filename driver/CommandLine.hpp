#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessen {

// What the arguments of `tessen [OPTIONS] DECK...` ask for.
struct CommandLine {
    enum class Action { run, help, version };
    Action action = Action::run;
    std::vector<std::string> decks;    // "-" is standard input
    std::optional<std::string> output; // -o FILE: the report of the one deck
    bool verbose = false;              // -v: one line per deck on standard error
};

// The command line, or the reason it is wrong (a usage error).
struct ParsedCommandLine {
    std::optional<CommandLine> command;
    std::string error;
};

// Parses the arguments after the program's name (at least one). "--" ends the options,
// so that a deck may be called "-v".
ParsedCommandLine parse_command_line(const std::vector<std::string>& args);

// The usage text of `tessen --help`.
const char* usage_text();

} // namespace tessen
