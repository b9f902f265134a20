// LISTXYZ: a coordinate listing, one line per atom with its mass.

#include "geometry/ListXyz.hpp"

#include "records/LayoutWriter.hpp"
#include "report/ReportVocabulary.hpp"

namespace tessen {

void LISTXYZ(RecordSink& report, const CoordinateTable& coords, const AtomTable& atoms,
             std::int32_t n) {
    write_text_record(report, report::kListingHeader);
    for (std::int32_t i = 1; i <= n; ++i)
        write_record(report, report::kListingRow, i, coords[i][0], coords[i][1], coords[i][2],
                     atoms.mass[i]);
}

} // namespace tessen
