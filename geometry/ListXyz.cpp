#include "geometry/ListXyz.hpp"

#include "records/LayoutWriter.hpp"

namespace tessen {

void LISTXYZ(RecordSink& report, const CoordinateTable& coords, const AtomTable& atoms,
             std::int32_t n) {
    static const Layout kHeader("(' ATOM NO.       X           Y          Z          MASS')");
    static const Layout kRow("(4X,I3,3X,3F12.6,F13.6)");
    write_record(report, kHeader);
    for (std::int32_t i = 1; i <= n; ++i)
        write_record(report, kRow, i, coords[i][0], coords[i][1], coords[i][2], atoms.mass[i]);
}

} // namespace tessen
