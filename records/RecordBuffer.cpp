#include "records/RecordBuffer.hpp"

namespace tessen {

void RecordBuffer::grow(std::size_t n) {
    std::size_t capacity = capacity_ * 2;
    while (capacity - size_ < n)
        capacity *= 2;
    auto heap = std::make_unique_for_overwrite<char[]>(capacity + kSlack);
    std::memcpy(heap.get(), data_, size_);
    heap_ = std::move(heap);
    data_ = heap_.get();
    capacity_ = capacity;
}

} // namespace tessen
