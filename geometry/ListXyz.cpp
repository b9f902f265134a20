// LISTXYZ: a coordinate listing, one line per atom with its mass.

#include "geometry/ListXyz.hpp"

#include "records/LayoutWriter.hpp"
#include "records/RealOutput.hpp"
#include "records/RecurringFields.hpp"
#include "report/ReportVocabulary.hpp"

#include <algorithm>
#include <bit>

namespace tessen {

namespace {

// The mass column of kListingRow.
constexpr int kMassWidth = 13;
constexpr int kMassDecimals = 6;

void edit_listed(ListedFields& listed, std::int32_t row, int axis, float value) {
    listed.bits[row][axis] = std::bit_cast<std::uint32_t>(value);
    edit_real_in_slack(listed.fields[row][axis].data(), value, ListedFields::kWidth,
                       ListedFields::kDecimals);
}

} // namespace

// The coordinates are all edited before the first line is laid out: a field is read
// back whole only once the stores that made it are long done, which the processor does
// not wait for.
void LISTXYZ(RecordSink& report, const CoordinateTable& coords, const AtomTable& atoms,
             std::int32_t n, ListedFields& listed) {
    for (std::int32_t i = 1; i <= n; ++i)
        for (int axis = 0; axis < 3; ++axis)
            edit_listed(listed, i, axis, coords[i][axis]);
    listed.rows = std::max(n, 0);
    write_text_record(report, report::kListingHeader);
    for (std::int32_t i = 1; i <= n; ++i) {
        LayoutWriter row(report, report::kListingRow);
        row.put(i);
        for (int axis = 0; axis < 3; ++axis)
            row.put_edited(listed.fields[i][axis], ListedFields::kWidth, ListedFields::kDecimals);
        row.put_edited(recurring_field(atoms.mass[i], kMassWidth, kMassDecimals), kMassWidth,
                       kMassDecimals);
        row.finish();
    }
}

} // namespace tessen
