#include "records/LayoutWalk.hpp"

#include <cstring>
#include <stdexcept>

namespace tessen {

const LayoutItem& LayoutWalk::next_data_item(RecordBuffer& record, RecordSink& sink) {
    if (!layout_.has_data())
        throw std::logic_error("value given to a layout without data items");
    const std::vector<LayoutItem>& items = layout_.items();
    while (true) {
        while (next_ < items.size()) {
            const LayoutItem& item = items[next_++];
            if (item.is_data())
                return item;
            perform(item, record, sink);
        }
        end_record(record, sink);
        next_ = layout_.reversion_point();
    }
}

char* LayoutWalk::place(RecordBuffer& record, std::size_t width) {
    char* at = record.extend_after_blanks(pending_, width);
    pending_ = 0;
    return at;
}

void LayoutWalk::finish(RecordBuffer& record, RecordSink& sink) {
    const std::vector<LayoutItem>& items = layout_.items();
    while (next_ < items.size() && !items[next_].is_data())
        perform(items[next_++], record, sink);
    pending_ = 0;
}

void LayoutWalk::perform(const LayoutItem& item, RecordBuffer& record, RecordSink& sink) {
    switch (item.kind) {
    case LayoutItem::Kind::skip:
        pending_ += static_cast<std::size_t>(item.width);
        break;
    case LayoutItem::Kind::literal:
        std::memcpy(place(record, item.text.size()), item.text.data(), item.text.size());
        break;
    case LayoutItem::Kind::slash:
        end_record(record, sink);
        break;
    default:
        break;
    }
}

// Blanks made by nX that nothing followed are dropped with the record's end.
void LayoutWalk::end_record(RecordBuffer& record, RecordSink& sink) {
    pending_ = 0;
    sink.put_record(record.view(), false);
    record.clear();
}

} // namespace tessen
