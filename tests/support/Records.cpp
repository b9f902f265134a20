#include "support/Records.hpp"

#include "support/Lines.hpp"

namespace tessen::test {

std::vector<std::string> MemoryReport::lines() {
    file.close();
    return report_lines(sink.bytes());
}

} // namespace tessen::test
