#pragma once

#include "records/FileStreams.hpp"

#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tessen::companion {

// The exit statuses that every companion program uses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // a failure: an input or output that failed, a finding
inline constexpr int kExitUsage = 2;  // the command line is wrong, or an input that cannot be
                                      // used: nothing computed

// A companion's command line: flags (--json), options that take a value (-o FILE,
// --isotopologue LIST, each given as often as wanted), and operands (files; "-" is standard
// input; after "--" everything is an operand).
struct Arguments {
    std::set<std::string> flags;
    std::map<std::string, std::vector<std::string>> values;
    std::vector<std::string> operands;

    bool has(const std::string& flag) const { return flags.count(flag) != 0; }
    // The value given last for an option, or nothing when it is not given.
    std::optional<std::string> last(const std::string& option) const;
    // Every value given for an option, in order.
    std::vector<std::string> all(const std::string& option) const;
};

// What the command line asks for: to run with the arguments, or an answer already given
// (--help and --version on out, a usage error on err) with its exit status.
struct Parsed {
    std::optional<Arguments> arguments;
    int status = kExitOk;
};

// Parses the arguments after the program's name. -h and --help show usage, --version
// shows "PROGRAM VERSION"; an unknown option, an option without its value, or no operand
// is a usage error.
Parsed parse_arguments(const std::vector<std::string>& args, const std::string& program,
                       const char* usage, const std::set<std::string>& flag_names,
                       const std::set<std::string>& value_names, std::ostream& out,
                       std::ostream& err);

// An input by name: standard input for "-" (named "<stdin>"), otherwise the file, which
// must exist (RunError otherwise).
std::unique_ptr<DescriptorSource> open_input(const std::string& name);

// The name an input's messages give it.
std::string input_name(const std::string& name);

} // namespace tessen::companion
