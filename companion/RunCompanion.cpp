#include "companion/RunCompanion.hpp"

#include "records/Diagnostic.hpp"
#include "records/StandardDescriptors.hpp"

#include <ostream>
#include <sstream>

namespace tessen::companion {

void Streams::report(const CommandError& error) {
    err_ << error.message(program_) << "\n" << std::flush;
}

void Streams::write_output(const std::string& name, std::string_view text) {
    if (name == "-") {
        out_.write(text);
        return;
    }
    OutputFile file(name);
    file.write(text);
    file.close();
}

namespace {

// The parsed arguments, or the status of an answer already given (help, version, a usage
// error), the help and version text written through the checked standard output.
std::optional<Arguments> parse(const std::vector<std::string>& args,
                               const CommandDefinition& command, Streams& streams,
                               std::ostream& err, int& status) {
    std::ostringstream answer;
    Parsed parsed = parse_arguments(args, command.program, command.usage, command.flags,
                                    command.values, answer, err);
    streams.out().write(answer.str());
    status = parsed.status;
    return std::move(parsed.arguments);
}

int run_body(const std::vector<std::string>& args, const CommandDefinition& command,
             const CommandBody& body, Streams& streams, std::ostream& err) {
    try {
        int status = kExitOk;
        const std::optional<Arguments> arguments = parse(args, command, streams, err, status);
        return arguments ? body(*arguments, streams) : status;
    } catch (const CommandError& error) {
        streams.report(error);
        return error.status();
    } catch (const RunError& error) {
        streams.report(command_error(error, kExitFailed));
        return kExitFailed;
    }
}

} // namespace

int run_companion(const std::vector<std::string>& args, const CommandDefinition& command,
                  const CommandBody& body, std::ostream& err) {
    open_standard_descriptors();
    Streams streams(command.program, err);
    int status = run_body(args, command, body, streams, err);
    try {
        streams.out().close();
    } catch (const CommandError& error) {
        streams.report(error);
        if (status == kExitOk)
            status = error.status();
    }
    return status;
}

} // namespace tessen::companion
