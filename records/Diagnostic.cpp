#include "records/Diagnostic.hpp"

namespace tessen {

namespace {

struct DiagnosticEntry {
    ErrorKind kind;
    const char* code;
    const char* message; // the fixed part; a detail, if any, follows after ": "
};

// The one table of diagnostic codes and messages.
constexpr DiagnosticEntry kDiagnostics[] = {
    {ErrorKind::open_failed, "T1001", "file cannot be opened"},
    {ErrorKind::report_is_input, "T1002", "report file would overwrite the input deck"},
    {ErrorKind::write_failed, "T1003", "report file cannot be written"},
    {ErrorKind::read_failed, "T1004", "input deck cannot be read"},
    {ErrorKind::end_of_file, "T2001", "end of file encountered"},
    {ErrorKind::bad_field, "T2002", "invalid character in numeric field"},
    {ErrorKind::input_overflow, "T2003", "numeric overflow in input field"},
    {ErrorKind::atom_count, "T3001", "atom count"},
    {ErrorKind::atom_number, "T3002", "atom number"},
    {ErrorKind::fp_invalid, "T4001", "floating-point error: invalid"},
    {ErrorKind::fp_divide_by_zero, "T4002", "floating-point error: divide by zero"},
    {ErrorKind::fp_overflow, "T4003", "floating-point error: overflow"},
};

const DiagnosticEntry& entry_for(ErrorKind kind) {
    for (const auto& e : kDiagnostics)
        if (e.kind == kind)
            return e;
    return kDiagnostics[0];
}

std::string message_for(ErrorKind kind, const std::string& detail) {
    std::string text = entry_for(kind).message;
    if (!detail.empty())
        text += (kind == ErrorKind::atom_count || kind == ErrorKind::atom_number) ? " " : ": ";
    return text + detail;
}

const char* op_name(FileOp op) {
    switch (op) {
    case FileOp::open:
        return "OPEN";
    case FileOp::read:
        return "READ";
    case FileOp::write:
        return "WRITE";
    case FileOp::none:
        break;
    }
    return "";
}

} // namespace

RunError::RunError(ErrorKind kind, std::string detail, FileOp op, std::string file)
    : std::runtime_error(message_for(kind, detail)), kind_(kind), op_(op), file_(std::move(file)) {}

RunError atom_number_error(std::int32_t number, std::int32_t limit) {
    return RunError(ErrorKind::atom_number,
                    std::to_string(number) + " outside 1 to " + std::to_string(limit));
}

RunError atom_count_error(std::int32_t count, std::int32_t limit) {
    return RunError(ErrorKind::atom_count,
                    std::to_string(count) + " above " + std::to_string(limit));
}

const char* diagnostic_code(ErrorKind kind) {
    return entry_for(kind).code;
}

std::string format_diagnostic(const RunError& error) {
    std::string text = "\nrun-time error ";
    text += diagnostic_code(error.kind());
    if (error.op() != FileOp::none) {
        text += ": ";
        text += op_name(error.op());
        text += "(" + error.file() + ")";
    }
    text += "\n- ";
    text += error.what();
    text += "\n";
    return text;
}

} // namespace tessen
