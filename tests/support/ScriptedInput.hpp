#pragma once

#include "records/Console.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tessen::test {

// Lines typed at the console; an empty optional is a read that fails.
class ScriptedInput : public ConsoleInput {
  public:
    explicit ScriptedInput(std::vector<std::optional<std::string>> lines)
        : lines_(std::move(lines)) {}
    bool read_line(std::string& line) override {
        if (next_ >= lines_.size() || !lines_[next_]) {
            ++next_;
            return false;
        }
        line = *lines_[next_++];
        return true;
    }

  private:
    std::vector<std::optional<std::string>> lines_;
    std::size_t next_ = 0;
};

} // namespace tessen::test
