// LISTXYZ: a coordinate listing, one line per atom with its mass.

#include "geometry/ListXyz.hpp"

#include "records/RealOutput.hpp"
#include "records/RecurringFields.hpp"
#include "report/ReportVocabulary.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace tessen {

namespace {

// The mass column of kListingRow.
constexpr int kMassWidth = 13;
constexpr int kMassDecimals = 6;

// The coordinate fields of the last listing written in this thread, as edited for it.
struct ListedCoordinates {
    std::int32_t rows = 0;
    std::array<std::array<std::uint32_t, 3>, kMaxAtoms + 1> bits{};
    std::array<std::array<EditedField, 3>, kMaxAtoms + 1> fields{};
};

ListedCoordinates& last_listing() {
    thread_local ListedCoordinates listing;
    return listing;
}

void edit_listed(ListedCoordinates& listing, std::int32_t row, int axis, float value) {
    listing.bits[row][axis] = std::bit_cast<std::uint32_t>(value);
    EditedField& field = listing.fields[row][axis];
    edit_real_in_slack(field.data(), value, kListedWidth, kListedDecimals);
}

} // namespace

// The coordinates are all edited before the first line is laid out: a field is read
// back whole only once the stores that made it are long done, which the processor does
// not wait for.
void LISTXYZ(RecordSink& report, const CoordinateTable& coords, const AtomTable& atoms,
             std::int32_t n) {
    ListedCoordinates& listing = last_listing();
    for (std::int32_t i = 1; i <= n; ++i)
        for (int axis = 0; axis < 3; ++axis)
            edit_listed(listing, i, axis, coords[i][axis]);
    listing.rows = std::max(n, 0);
    write_text_record(report, report::kListingHeader);
    for (std::int32_t i = 1; i <= n; ++i) {
        LayoutWriter row(report, report::kListingRow);
        row.put(i);
        for (int axis = 0; axis < 3; ++axis)
            row.put_edited(listing.fields[i][axis], kListedWidth, kListedDecimals);
        row.put_edited(recurring_field(atoms.mass[i], kMassWidth, kMassDecimals), kMassWidth,
                       kMassDecimals);
        row.finish();
    }
}

std::optional<EditedField> listed_coordinate(std::int32_t row, std::int32_t axis, float value) {
    const ListedCoordinates& listing = last_listing();
    if (row < 1 || row > listing.rows || axis < 1 || axis > 3 ||
        listing.bits[row][axis - 1] != std::bit_cast<std::uint32_t>(value))
        return std::nullopt;
    return listing.fields[row][axis - 1];
}

} // namespace tessen
