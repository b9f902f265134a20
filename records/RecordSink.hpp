#pragma once

#include "records/ReportSection.hpp"

#include <cstddef>
#include <string_view>

namespace tessen {

// Where finished records go: the report file or the console. Each applies its own line
// convention.
class RecordSink {
  public:
    // Writes records into the sink it is given (see write_section).
    using Section = ReportSection;

    virtual ~RecordSink() = default;
    // One record as laid out. hold: the layout ended with a backslash (the prompt rule).
    virtual void put_record(std::string_view record, bool hold) = 0;

    // A section of records that depends on nothing the caller changes later: its records
    // take their place here, after every record put before the call. A sink may run it
    // on another thread while the caller goes on (the report written in the background);
    // a RunError it raises is then raised in the caller's thread by a later call of this
    // sink, as the first fault, and nothing after the section is written. records is
    // about how many records the section writes: handing over a small one costs more
    // than writing it. Here: it runs at once.
    virtual void write_section(Section section, std::size_t /*records*/) { section.write(*this); }
    // Sends on the sections that a sink gathers before handing them to another thread:
    // for a caller about to wait for something that such a section holds.
    virtual void hand_over_sections() {}
};

} // namespace tessen
