#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

namespace tessen {
class RunError;
}

namespace tessen::companion {

// The one exception type of the companion programs: what is wrong, with the file and the
// line it lies in where they are known, and the exit status that ends the program (2 for a
// command line or an input that cannot be used, 1 for a failure while computing or
// writing). Thrown where the fault is found, caught once by the program's frame.
class CommandError : public std::runtime_error {
  public:
    CommandError(int status, std::string what, std::string file = {}, std::size_t line = 0)
        : std::runtime_error(std::move(what)), status_(status), file_(std::move(file)),
          line_(line) {}

    int status() const { return status_; }
    const std::string& file() const { return file_; }
    std::size_t line() const { return line_; }

    // "PROGRAM: FILE:LINE: what", "PROGRAM: FILE: what" or "PROGRAM: what".
    std::string message(const std::string& program) const;

  private:
    int status_;
    std::string file_;
    std::size_t line_;
};

// A fault of the record layer as a companion gives it, with the given exit status. A file
// that cannot be opened, read or written says so in the companions' words, followed by
// the system's reason ("cannot be written: No space left on device"); any other fault keeps
// its message. The file and line are the fault's own.
CommandError command_error(const RunError& error, int status);

} // namespace tessen::companion
