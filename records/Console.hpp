#pragma once

#include "records/RecordSink.hpp"

#include <iosfwd>
#include <span>
#include <string>

namespace tessen {

// The typed lines of the console. A read can fail (for example at the end of input).
class ConsoleInput {
  public:
    virtual ~ConsoleInput() = default;
    // One typed line without its line end; false when no line could be read.
    virtual bool read_line(std::string& line) = 0;
};

// Typed lines from a standard stream (std::cin in the program).
class StreamConsoleInput : public ConsoleInput {
  public:
    explicit StreamConsoleInput(std::istream& in) : in_(in) {}
    bool read_line(std::string& line) override;

  private:
    std::istream& in_;
};

// The console: each record's first character is its advance character and is not shown.
// The console keeps whether a line is open (shown and not yet ended) and whether it is
// held (a prompt that the next output or the typed text continues).
class Console : public RecordSink {
  public:
    Console(std::ostream& out, ConsoleInput& in) : out_(out), in_(in) {}

    void put_record(std::string_view record, bool hold) override;

    // Reads one typed line into a fixed-length text as "(A)": its first text.size()
    // characters, blank-filled. Returns 0 on success, non-zero when no line was read.
    int read_text(std::span<char> text);

    // Ends a line that is still open (at the end of the run).
    void end_open_line();

    // The stop rule's console part: the open line ended, then the stop message.
    void stop_message();

  private:
    std::ostream& out_;
    ConsoleInput& in_;
    bool line_open_ = false;
    bool line_held_ = false;

    void show(std::string_view text);
};

} // namespace tessen
