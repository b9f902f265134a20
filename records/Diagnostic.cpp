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
    {ErrorKind::report_taken, "T1005", "report file is already the report of"},
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
        text += (kind == ErrorKind::atom_count || kind == ErrorKind::atom_number ||
                 kind == ErrorKind::report_taken)
                    ? " "
                    : ": ";
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
    : kind_(kind), op_(op), file_(std::move(file)), base_(message_for(kind, detail)),
      message_(base_) {}

void RunError::locate(std::size_t line) {
    if (located())
        return;
    line_ = line;
    message_ = base_ + ": line " + std::to_string(line);
}

void RunError::locate_field(std::size_t line, std::size_t first_column, std::size_t last_column,
                            std::string_view text) {
    if (located())
        return;
    locate(line);
    first_column_ = first_column;
    last_column_ = last_column;
    field_text_ = std::string(text);
    message_ += ", columns " + std::to_string(first_column) + "-" + std::to_string(last_column) +
                " '" + shown_field_text(text) + "'";
}

std::string shown_field_text(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\t')
            shown += "\\t";
        else if (byte < 0x20 || byte == 0x7f)
            shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        else
            shown += c;
    }
    return shown;
}

bool is_record_fault(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::atom_count:
    case ErrorKind::atom_number:
    case ErrorKind::fp_invalid:
    case ErrorKind::fp_divide_by_zero:
    case ErrorKind::fp_overflow:
        return true;
    default:
        return false;
    }
}

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
