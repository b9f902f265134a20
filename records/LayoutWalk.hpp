#pragma once

#include "records/Layout.hpp"
#include "records/RecordBuffer.hpp"
#include "records/RecordSink.hpp"

#include <cstddef>

namespace tessen {

// The walk of a layout on output, for a layout that has no plan (an A item, a /, or a
// reversion to a group inside it): the control items are performed into the record in
// hand as the values come (literals written, the blanks of nX kept until something
// follows them), a / ends the record, and so does the closing parenthesis when a value
// is still to be placed, after which the walk goes on from the reversion point.
class LayoutWalk {
  public:
    explicit LayoutWalk(const Layout& layout) : layout_(layout) {}

    // Performs the control items up to the next data item and returns that item.
    const LayoutItem& next_data_item(RecordBuffer& record, RecordSink& sink);
    // Room for a field of the given width at the end of the record, after the blanks
    // that nX items have made since the last field. The caller fills all of it.
    char* place(RecordBuffer& record, std::size_t width);
    // Performs the control items up to the next data item or the end of the layout; the
    // record in hand is then whole (blanks that nothing followed are dropped).
    void finish(RecordBuffer& record, RecordSink& sink);

  private:
    const Layout& layout_;
    std::size_t next_ = 0;    // the next item of the walk
    std::size_t pending_ = 0; // blanks made by nX that nothing has followed yet

    void perform(const LayoutItem& item, RecordBuffer& record, RecordSink& sink);
    void end_record(RecordBuffer& record, RecordSink& sink);
};

} // namespace tessen
