#include "geometry/ReadMasses.hpp"

#include "records/LayoutReader.hpp"
#include "records/LayoutWriter.hpp"

namespace tessen {

void READMASSES(InputDeck& deck, RecordSink& report, AtomTable& atoms, std::int32_t n) {
    static const Layout kMasses("(6F12.6)");
    if (n > 0) {
        LayoutReader in(deck, kMasses);
        for (std::int32_t i = 1; i <= n; ++i)
            atoms.mass[i] = in.get_real();
        in.finish();
    }
    write_line(report);
    write_line(report);
    write_line(report, "   NEXT ISOTOPE");
}

} // namespace tessen
