#pragma once

#include "companion/CommandError.hpp"
#include "companion/CompanionCommand.hpp"
#include "companion/OutputFile.hpp"

#include <functional>
#include <iosfwd>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tessen::companion {

// A companion's command line: its name, its usage text (shown for --help and after a
// usage error), its flags and the options that take a value.
struct CommandDefinition {
    std::string program;
    const char* usage = "";
    std::set<std::string> flags;
    std::set<std::string> values;
};

// What a companion's work sees of its frame: standard output, and standard error for its
// messages, all of one shape.
class Streams {
  public:
    Streams(std::string program, std::ostream& err) : program_(std::move(program)), err_(err) {}

    const std::string& program() const { return program_; }
    OutputFile& out() { return out_; }

    // "PROGRAM: FILE:LINE: what" on standard error.
    void report(const CommandError& error);

    // The whole text into the output named (standard output for "-"), a file closed again
    // at once. Raises CommandError when it cannot be opened, written or closed.
    void write_output(const std::string& name, std::string_view text);

  private:
    std::string program_;
    std::ostream& err_;
    OutputFile out_;
};

// The work of a companion: its exit status from the parsed arguments.
using CommandBody = std::function<int(const Arguments&, Streams&)>;

// Runs a companion, as its main does with the arguments after the program's name and
// standard error. Descriptors 0 to 2 are made sure to be open first. The arguments are
// parsed (--help and --version answered on standard output, a usage error on err with
// status 2); then body runs. A CommandError or a record layer's fault that ends it is told
// on err and gives its status; standard output is then written out and closed, checked:
// a failure there is told and makes a successful run exit 1.
int run_companion(const std::vector<std::string>& args, const CommandDefinition& command,
                  const CommandBody& body, std::ostream& err);

} // namespace tessen::companion
