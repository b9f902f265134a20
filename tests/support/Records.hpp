#pragma once

#include "records/ByteStreams.hpp"
#include "records/RecordSink.hpp"
#include "records/ReportPipeline.hpp"

#include <string>
#include <vector>

namespace tessen::test {

// The records a writer gives, as given, with the hold flag of each.
struct CollectedRecords : RecordSink {
    std::vector<std::string> lines;
    std::vector<bool> held;
    void put_record(std::string_view record, bool hold) override {
        lines.emplace_back(record);
        held.push_back(hold);
    }
};

// A report kept in memory, written by a thread of its own as tessen writes it; lines()
// closes it and gives its lines without CR LF.
struct MemoryReport {
    MemorySink sink;
    ReportPipeline file{sink, ReportPipeline::Threads::two};
    std::vector<std::string> lines();
};

} // namespace tessen::test
