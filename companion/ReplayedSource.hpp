#pragma once

#include "records/ByteStreams.hpp"

#include <string>

namespace tessen::companion {

// A source whose first bytes were already read (to look at them): those bytes again, then
// the rest of the source. Standard input cannot be read twice.
class ReplayedSource : public ByteSource {
  public:
    ReplayedSource(std::string head, ByteSource& rest) : head_(std::move(head)), rest_(rest) {}

    std::size_t read(char* dst, std::size_t n) override;

  private:
    std::string head_;
    std::size_t pos_ = 0;
    ByteSource& rest_;
};

} // namespace tessen::companion
