#include "records/ByteStreams.hpp"

#include <algorithm>
#include <cstring>

namespace tessen {

std::size_t MemorySource::read(char* dst, std::size_t n) {
    std::size_t count = std::min(n, bytes_.size() - pos_);
    std::memcpy(dst, bytes_.data() + pos_, count);
    pos_ += count;
    return count;
}

} // namespace tessen
