#pragma once

#include <string_view>

namespace tessen {

// Where finished records go: the report or the console. Each applies its own line
// convention.
class RecordSink {
  public:
    virtual ~RecordSink() = default;
    // One record as laid out. hold: the layout ended with a backslash (the prompt rule).
    virtual void put_record(std::string_view record, bool hold) = 0;
};

} // namespace tessen
