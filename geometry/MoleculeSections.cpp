#include "geometry/MoleculeSections.hpp"

#include "geometry/DistCheck.hpp"
#include "geometry/ScreenXyz.hpp"
#include "records/LayoutWriter.hpp"
#include "report/ReportVocabulary.hpp"

namespace tessen {

void write_molecule_header(RecordSink& report, const TitleSet& titles) {
    write_line(report, report::kProgramLine);
    write_text_record(report, titles.first.view());
    write_text_record(report, titles.second.view());
    write_line(report);
    write_text_record(report, report::kValenceHeading);
}

void write_input_frame_listings(ReportPipeline& report, AtomTable& atoms, std::int32_t n,
                                const ListedFields& listed, SparseCoordList& sparse) {
    SCREENXYZ(atoms.pos, n, sparse);
    write_sparse_section(report, report::kInputFrameHeading, report::kIndependentOfIsotope,
                         std::nullopt, sparse, listed);
    DISTCHECK(report, atoms, n);
}

void write_trailer(RecordSink& report) {
    for (int line = 0; line < report::kTrailerLines; ++line)
        write_line(report);
}

} // namespace tessen
