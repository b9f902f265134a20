#include "driver/CommandLine.hpp"

#include <algorithm>

namespace tessen {

namespace {

ParsedCommandLine usage_error(std::string what) {
    return {std::nullopt, std::move(what)};
}

bool is_option(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

// The value of an option that takes one: "-o FILE", "--output FILE" or "--output=FILE".
std::optional<std::string> option_value(const std::vector<std::string>& args, std::size_t& i,
                                        const std::string& name) {
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0)
        return arg.substr(name.size() + 1);
    if (i + 1 >= args.size())
        return std::nullopt;
    return args[++i];
}

// Whether the parsed command is one that can run.
ParsedCommandLine checked(CommandLine command) {
    if (command.action != CommandLine::Action::run)
        return {std::move(command), {}};
    if (command.decks.empty())
        return usage_error("no deck given");
    if (command.output && command.decks.size() > 1)
        return usage_error("-o takes the report of one deck, not of " +
                           std::to_string(command.decks.size()));
    if (std::count(command.decks.begin(), command.decks.end(), "-") > 1)
        return usage_error("standard input (-) can be read only once");
    return {std::move(command), {}};
}

} // namespace

ParsedCommandLine parse_command_line(const std::vector<std::string>& args) {
    CommandLine command;
    bool options_end = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options_end || !is_option(arg)) {
            command.decks.push_back(arg);
        } else if (arg == "--") {
            options_end = true;
        } else if (arg == "-h" || arg == "--help") {
            command.action = CommandLine::Action::help;
        } else if (arg == "--version") {
            if (command.action != CommandLine::Action::help)
                command.action = CommandLine::Action::version;
        } else if (arg == "-v" || arg == "--verbose") {
            command.verbose = true;
        } else if (arg == "-o" || arg == "--output" || arg.rfind("--output=", 0) == 0) {
            std::optional<std::string> value =
                option_value(args, i, arg == "-o" ? "-o" : "--output");
            if (!value || value->empty())
                return usage_error("option '" + arg + "' needs a file name");
            if (command.output)
                return usage_error("option -o given twice");
            command.output = std::move(*value);
        } else {
            return usage_error("unknown option '" + arg + "'");
        }
    }
    return checked(std::move(command));
}

const char* usage_text() {
    return "usage: tessen                    ask for the deck's name on the console\n"
           "       tessen [OPTIONS] DECK...  run each deck, without any dialogue\n"
           "\n"
           "The report of dir/name.ext is dir/name.OUT, beside the deck. A DECK of - is read\n"
           "from standard input, and its report is written to standard output.\n"
           "\n"
           "options:\n"
           "  -o, --output FILE  write the report to FILE (one deck only; - for standard\n"
           "                     output)\n"
           "  -v, --verbose      one line per deck on standard error:\n"
           "                     DECK -> REPORT: M molecules, K mass blocks\n"
           "  -h, --help         show this help and exit\n"
           "      --version      show the version and exit\n"
           "  --                 what follows is a deck, even if it begins with -\n"
           "\n"
           "exit status: 0 every deck ran to its end record; 1 a deck ended with a\n"
           "diagnostic (the other decks still run); 2 the command line is wrong.\n";
}

} // namespace tessen
