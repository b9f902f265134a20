#include "companion/CompanionCommand.hpp"

#include "records/Version.hpp"

#include <ostream>
#include <unistd.h>

namespace tessen::companion {

namespace {

Parsed usage_error(const std::string& program, const char* usage, const std::string& what,
                   std::ostream& err) {
    err << program << ": " << what << "\n" << usage;
    return {std::nullopt, kExitUsage};
}

} // namespace

std::optional<std::string> Arguments::last(const std::string& option) const {
    const auto found = values.find(option);
    if (found == values.end() || found->second.empty())
        return std::nullopt;
    return found->second.back();
}

std::vector<std::string> Arguments::all(const std::string& option) const {
    const auto found = values.find(option);
    return found == values.end() ? std::vector<std::string>() : found->second;
}

Parsed parse_arguments(const std::vector<std::string>& args, const std::string& program,
                       const char* usage, const std::set<std::string>& flag_names,
                       const std::set<std::string>& value_names, std::ostream& out,
                       std::ostream& err) {
    Arguments arguments;
    bool options_end = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options_end || arg == "-" || arg.empty() || arg[0] != '-') {
            arguments.operands.push_back(arg);
        } else if (arg == "--") {
            options_end = true;
        } else if (arg == "-h" || arg == "--help") {
            out << usage;
            return {std::nullopt, kExitOk};
        } else if (arg == "--version") {
            out << program << " " << kVersion << "\n";
            return {std::nullopt, kExitOk};
        } else if (flag_names.count(arg)) {
            arguments.flags.insert(arg);
        } else if (value_names.count(arg)) {
            if (i + 1 >= args.size())
                return usage_error(program, usage, "option " + arg + " needs a value", err);
            arguments.values[arg].push_back(args[++i]);
        } else {
            return usage_error(program, usage, "unknown option '" + arg + "'", err);
        }
    }
    if (arguments.operands.empty())
        return usage_error(program, usage, "no file given", err);
    return {std::move(arguments), kExitOk};
}

std::unique_ptr<DescriptorSource> open_input(const std::string& name) {
    if (name == "-")
        return std::make_unique<DescriptorSource>(STDIN_FILENO, input_name(name));
    return std::make_unique<FileSource>(name);
}

std::string input_name(const std::string& name) {
    return name == "-" ? "<stdin>" : name;
}

} // namespace tessen::companion
