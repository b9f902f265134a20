// DISTCHECK: the interatomic distance check section.

#include "geometry/DistCheck.hpp"

#include "geometry/Precision.hpp"
#include "records/LayoutWriter.hpp"
#include "report/ReportVocabulary.hpp"

#include <cmath>

namespace tessen {

float distance(const Triple& from, const Triple& to) {
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        double diff = double(to[k]) - double(from[k]);
        sum += diff * double(store(diff)); // the unrounded difference times its float value
    }
    return store(std::sqrt(sum));
}

void DISTCHECK(RecordSink& report, const AtomTable& atoms, std::int32_t n) {
    std::array<float, kMaxAtoms + 1> row{};
    write_line(report);
    write_line(report, report::kDistanceHeading);
    for (std::int32_t i = 1; i <= n; ++i) {
        // The whole row is computed before its block is written.
        for (std::int32_t j = 1; j <= n; ++j)
            row[j] = distance(atoms.pos[i], atoms.pos[j]);
        LayoutWriter out(report, report::kDistanceBlock);
        out.put(i);
        out.put(std::span<const float>(row.data() + 1, static_cast<std::size_t>(n)));
        out.finish();
    }
}

} // namespace tessen
