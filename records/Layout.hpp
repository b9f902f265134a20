#pragma once

#include "records/LayoutItem.hpp"
#include "records/RecordPlan.hpp"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace tessen {

// A record layout such as "(4I3,4F12.6)" or "(1X,'ATOM',I3,/,(1X,8(F9.6,1X)))",
// parsed once. When values remain at the closing parenthesis the walk goes on in a new
// record from the reversion point: the opening of the last group that stands directly
// inside the outer parentheses, or the beginning when there is none.
class Layout {
  public:
    // Parses the notation; a malformed layout is a fault of the program itself and
    // throws std::logic_error.
    explicit Layout(std::string_view notation);

    const std::vector<LayoutItem>& items() const { return items_; }
    std::size_t reversion_point() const { return reversion_; }
    // A trailing backslash: the console keeps the line open after this record.
    bool holds_line() const { return holds_line_; }
    bool has_data() const { return has_data_; }
    // The layout laid out ahead, when its records all have one shape (see RecordPlan).
    const RecordPlan* plan() const { return plan_ ? &*plan_ : nullptr; }

  private:
    std::vector<LayoutItem> items_;
    std::optional<RecordPlan> plan_;
    std::size_t reversion_ = 0;
    bool holds_line_ = false;
    bool has_data_ = false;
};

} // namespace tessen
