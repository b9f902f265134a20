#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace tessen {

// Every way a run can end with a diagnostic. Each kind has its own code (see
// Diagnostic.cpp, the one table of codes and messages).
enum class ErrorKind {
    open_failed,       // a file cannot be opened or created
    report_is_input,   // the report name names the input deck itself
    report_taken,      // the report is that of an earlier deck of the same command
    write_failed,      // the report cannot be written
    read_failed,       // the deck cannot be read (an I/O error, not its end)
    end_of_file,       // the deck ends while a read still needs a record, or a Ctrl-Z
    bad_field,         // a character that cannot belong to a number
    input_overflow,    // a number beyond the 32-bit or the single-precision range
    atom_count,        // more atoms than the table holds
    atom_number,       // an atom number outside the table
    fp_invalid,        // floating-point error: invalid (zero divided by zero)
    fp_divide_by_zero, // floating-point error: divide by zero
    fp_overflow,       // floating-point error: overflow
};

// The file operation a diagnostic names, if any: ": OPEN(name)" or ": READ(name)".
enum class FileOp { none, open, read, write };

// The one exception type that ends a run with a diagnostic. It is thrown where the
// fault is found and caught once, by the driver, after the files are closed. what() is
// the message line of the diagnostic (without its "- ").
class RunError : public std::exception {
  public:
    RunError(ErrorKind kind, std::string detail = {}, FileOp op = FileOp::none,
             std::string file = {});

    ErrorKind kind() const { return kind_; }
    FileOp op() const { return op_; }
    const std::string& file() const { return file_; }
    const char* what() const noexcept override { return message_.c_str(); }

    // Adds where in the deck the fault lies: ": line 7", or for a field
    // ": line 7, columns 13-24 '   1.00.000 '" (columns counted from 1, the field's text as
    // it stands, control characters shown as \t or \xNN). The first place given is the
    // one kept: it is the closest to the fault.
    void locate(std::size_t line);
    void locate_field(std::size_t line, std::size_t first_column, std::size_t last_column,
                      std::string_view text);
    bool located() const { return line_ != 0; }

    // The message without the place, and the place: line 0 when there is none, first
    // column 0 when the fault is not a field's.
    const std::string& base_message() const { return base_; }
    std::size_t line() const { return line_; }
    std::size_t first_column() const { return first_column_; }
    std::size_t last_column() const { return last_column_; }
    const std::string& field_text() const { return field_text_; }

  private:
    ErrorKind kind_;
    FileOp op_;
    std::string file_;
    std::string base_;
    std::string message_;
    std::size_t line_ = 0;
    std::size_t first_column_ = 0;
    std::size_t last_column_ = 0;
    std::string field_text_;
};

// A field's text as diagnostics show it: control characters as \t or \xNN.
std::string shown_field_text(std::string_view text);

// Whether a fault of this kind is raised while acting on the deck record read last (an
// atom number, N, a floating-point fault), so that the job loop names that record's line.
bool is_record_fault(ErrorKind kind);

// The diagnostics whose message carries values, built here beside the code table:
// "atom number 501 outside 1 to 500" and "atom count 600 above 500".
RunError atom_number_error(std::int32_t number, std::int32_t limit);
RunError atom_count_error(std::int32_t count, std::int32_t limit);

// The diagnostic as written to standard error: a line end, "run-time error " with the
// code and the file operation, a line end, "- " with the message, a line end.
std::string format_diagnostic(const RunError& error);

// The code of a kind, one letter and four digits.
const char* diagnostic_code(ErrorKind kind);

} // namespace tessen
