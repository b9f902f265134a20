#pragma once

#include "records/ByteStreams.hpp"
#include "records/FieldWalker.hpp"
#include "records/InputDeck.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessen::report {

// The lines of a report, one at a time, read through the record layer (a carriage return
// ends a line's text). The line before the current one is kept, and the current line can
// be put back to be read again. As a record supply it lets a layout walk go on over the
// following lines.
class ReportLines : public RecordSupply {
  public:
    ReportLines(ByteSource& source, std::string name) : deck_(source, std::move(name)) {}

    // Moves to the next line; false at the end of the report. Raises RunError when the
    // source cannot be read.
    bool advance();
    // The current line is read again by the next advance().
    void put_back() { put_back_ = true; }

    std::string_view line() const { return line_; }
    std::string_view previous() const { return previous_; }
    // The number of the current line, from 1.
    std::size_t number() const { return number_; }

    std::optional<std::string_view> next_record() override;

  private:
    InputDeck deck_;
    std::string line_;
    std::string previous_;
    std::size_t number_ = 0;
    bool put_back_ = false;
};

} // namespace tessen::report
