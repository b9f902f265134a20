// READMASSES: the masses of an isotope mass set and the lines that open it.

#include "geometry/ReadMasses.hpp"

#include "records/LayoutReader.hpp"
#include "records/LayoutWriter.hpp"
#include "report/ReportVocabulary.hpp"

namespace tessen {

void READMASSES(InputDeck& deck, RecordSink& report, AtomTable& atoms, std::int32_t n,
                AtomRecordObserver* observer) {
    if (n > 0) {
        LayoutReader in(deck, report::kMassRecords);
        for (std::int32_t i = 1; i <= n; ++i) {
            atoms.mass[i] = in.get_real();
            if (observer) {
                const LayoutReader::Field field = in.last_field();
                observer->mass_read(i, deck.line(), field.start, field.width, field.text,
                                    atoms.mass[i]);
            }
        }
        in.finish();
    }
    for (int line = 0; line < report::kIsotopeSetBlankLines; ++line)
        write_line(report);
    write_line(report, report::kNextIsotope);
}

} // namespace tessen
