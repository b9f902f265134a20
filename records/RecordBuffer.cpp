#include "records/RecordBuffer.hpp"

namespace tessen {

std::unique_ptr<char[]> RecordBuffer::allocate(std::size_t capacity) {
    return std::make_unique_for_overwrite<char[]>(capacity + kSlack);
}

void RecordBuffer::grow(std::size_t n) {
    std::size_t capacity = capacity_ * 2;
    while (capacity - size_ < n)
        capacity *= 2;
    auto data = allocate(capacity);
    std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
}

} // namespace tessen
