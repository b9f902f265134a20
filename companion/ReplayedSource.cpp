#include "companion/ReplayedSource.hpp"

#include <algorithm>
#include <cstring>

namespace tessen::companion {

std::size_t ReplayedSource::read(char* dst, std::size_t n) {
    if (pos_ == head_.size())
        return rest_.read(dst, n);
    const std::size_t count = std::min(n, head_.size() - pos_);
    std::memcpy(dst, head_.data() + pos_, count);
    pos_ += count;
    return count;
}

} // namespace tessen::companion
