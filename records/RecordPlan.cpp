#include "records/RecordPlan.hpp"

namespace tessen {

namespace {

bool has_one_shape(const std::vector<LayoutItem>& items, std::size_t reversion) {
    bool has_data = false;
    for (const LayoutItem& item : items) {
        if (item.kind == LayoutItem::Kind::text || item.kind == LayoutItem::Kind::slash)
            return false;
        has_data = has_data || item.is_data();
    }
    return has_data && reversion == 0;
}

void mark_text_after(RecordPlan& plan) {
    if (!plan.fields.empty())
        plan.fields.back().text_follows = true;
}

} // namespace

std::optional<RecordPlan> RecordPlan::of(const std::vector<LayoutItem>& items,
                                         std::size_t reversion) {
    if (!has_one_shape(items, reversion))
        return std::nullopt;
    RecordPlan plan;
    std::size_t column = 0; // where the walk stands, the blanks of nX counted
    std::size_t end = 0;    // where the record would end: blanks that nothing follows drop
    for (const LayoutItem& item : items) {
        const auto width = static_cast<std::size_t>(item.width);
        switch (item.kind) {
        case LayoutItem::Kind::skip:
            mark_text_after(plan);
            plan.text.append(width, ' ');
            column += width;
            break;
        case LayoutItem::Kind::literal:
            mark_text_after(plan);
            plan.text += item.text;
            column += item.text.size();
            end = column;
            break;
        default: // a data item: the record so far ends here if no value comes for it
            plan.record_end.push_back(end);
            plan.fields.push_back(
                {item.kind, item.width, item.decimals, column, column + width, false});
            plan.text.append(width, ' ');
            column += width;
            end = column;
            break;
        }
    }
    plan.record_end.push_back(end);
    const std::size_t padded = (column + kRepair + 15) / 16 * 16;
    plan.text.append(padded - plan.text.size(), ' ');
    return plan;
}

} // namespace tessen
