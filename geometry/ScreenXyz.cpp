// SCREENXYZ (screening of negligible coordinates), LISTSPARSE (the compact list that
// KOFT reads) and the sparse listing section around it.

#include "geometry/ScreenXyz.hpp"

#include "records/LayoutWriter.hpp"
#include "report/ReportVocabulary.hpp"

#include <cmath>

namespace tessen {

void SCREENXYZ(CoordinateTable& coords, std::int32_t n, SparseCoordList& list) {
    list.count = 0;
    for (std::int32_t i = 1; i <= n; ++i) {
        for (std::int32_t axis = 1; axis <= 3; ++axis) {
            float& c = coords[i][axis - 1];
            if (double(kScreenThreshold) - std::fabs(double(c)) > 0.0)
                c = 0.0f; // positive zero, whatever the sign was
            else
                list.entries[list.count++] = {axis, i, c};
        }
    }
    list.entries[list.count++] = {-1, 0, 0.0f};
}

// A value the listing before showed is copied from there.
void LISTSPARSE(RecordSink& report, const SparseCoordList& list, const ListedFields& listed) {
    LayoutWriter out(report, report::kSparseSlots);
    for (std::size_t e = 0; e < list.count; ++e) {
        const SparseEntry& entry = list.entries[e];
        out.put(entry.axis).put(entry.atom);
        if (const EditedField* field = listed.find(entry.atom, entry.axis, entry.value))
            out.put_edited(*field, ListedFields::kWidth, ListedFields::kDecimals);
        else
            out.put(entry.value);
    }
    out.finish();
}

void write_sparse_section(RecordSink& report, std::string_view heading, std::string_view note,
                          std::optional<std::string_view> title, const SparseCoordList& list,
                          const ListedFields& listed) {
    write_line(report);
    write_line(report, heading);
    write_line(report, report::kKoftFormat);
    write_line(report, note);
    if (title)
        write_text_record(report, *title);
    LISTSPARSE(report, list, listed);
}

} // namespace tessen
