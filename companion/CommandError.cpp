#include "companion/CommandError.hpp"

#include "records/Diagnostic.hpp"

namespace tessen::companion {

namespace {

// The system's reason in a diagnostic of the record layer: what follows its fixed text.
std::string reason_of(const RunError& error) {
    const std::string fixed = RunError(error.kind()).base_message() + ": ";
    const std::string& whole = error.base_message();
    return whole.compare(0, fixed.size(), fixed) == 0 ? whole.substr(fixed.size()) : std::string();
}

const char* file_fault(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::open_failed:
        return "cannot be opened";
    case ErrorKind::read_failed:
        return "cannot be read";
    case ErrorKind::write_failed:
        return "cannot be written";
    default:
        return nullptr;
    }
}

} // namespace

std::string CommandError::message(const std::string& program) const {
    std::string text = program;
    text.append(": ");
    if (!file_.empty()) {
        text.append(file_);
        if (line_ != 0)
            text.append(":").append(std::to_string(line_));
        text.append(": ");
    }
    return text.append(what());
}

CommandError command_error(const RunError& error, int status) {
    const char* fault = file_fault(error.kind());
    if (fault == nullptr)
        return CommandError(status, error.base_message(), error.file(), error.line());
    const std::string reason = reason_of(error);
    return CommandError(status, reason.empty() ? fault : fault + (": " + reason), error.file(),
                        error.line());
}

} // namespace tessen::companion
