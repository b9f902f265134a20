// libFuzzer entry: the report reader as tessen-rot and tessen-xyz use it on reports that
// people edit by hand. The input is read as a report by tessen-rot's analysis (its three
// outputs made) and by tessen-xyz's listing reader (an XYZ text made of every listing).
// Problems in the report are findings of the programs, not of the fuzzer; what is a
// finding: anything that escapes but the record layer's RunError, JSON that does not
// parse, or an XYZ text whose atom count is not its number of atom lines.

#include "FuzzSupport.hpp"
#include "records/ByteStreams.hpp"
#include "records/Diagnostic.hpp"
#include "rot/ReportAnalysis.hpp"
#include "rot/RotOutput.hpp"
#include "xyz/CoordinateSets.hpp"
#include "xyz/XyzText.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

namespace {

using namespace tessen;
using fuzz::require;

void analyse_as_rot(std::string_view bytes) {
    MemorySource source{std::string(bytes)};
    const rot::Analysis analysis = rot::analyse_report(source, "FUZZ.OUT");
    require(nlohmann::json::accept(rot::json_document(analysis.molecules)),
            "tessen-rot's JSON does not parse");
    static_cast<void>(rot::text_tables(analysis.molecules));
    static_cast<void>(rot::csv_table(analysis.molecules));
}

void list_as_xyz(std::string_view bytes) {
    const fuzz::InputFile file(bytes, "FUZZ.OUT");
    for (const xyz::CoordinateSet& set : xyz::read_coordinate_sets(file.path().string()).sets) {
        const std::string text = xyz::xyz_text(set);
        const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        require(lines == set.atoms.size() + 2, "an XYZ text with other lines than its atoms");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::input_text(data, size);
    try {
        analyse_as_rot(bytes);
        list_as_xyz(bytes);
    } catch (const RunError&) {
        // a report that cannot be read: the programs say so
    }
    return 0;
}
