// libFuzzer entry: tessen-deck's whole path from a molecule file, the input read as an
// XYZ, an SDF and a PDB file in turn (Open Babel's readers, the checks, the deck writer).
// tessen-deck must end with status 0, 1 or 2, every message on its error stream must be
// one of its own, and a deck that it writes must run through tessen's job loop to its
// end. A fault inside Open Babel's own readers is Open Babel's (see README.md).

#include "FuzzSupport.hpp"
#include "deck/CheckedMolecule.hpp"
#include "deck/DeckCommand.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using namespace tessen;
using fuzz::require;

bool every_line_starts(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(start, 0) != 0)
            return false;
    return true;
}

std::string text_of(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The deck goes to a file of its own (-o), read back after the run.
void run_as(std::string_view bytes, const std::string& extension) {
    const fuzz::InputFile file(bytes, "molecule." + extension);
    const fuzz::InputFile written({}, "molecule.DAT");
    std::ostringstream err;
    const int status = deck::run_deck({file.path().string(), "-o", written.path().string()}, err);
    const std::string out = text_of(written.path());
    require(status >= 0 && status <= 2, "an exit status other than 0, 1 or 2");
    require(every_line_starts(err.str(), "tessen-deck: "), "a message that is not tessen-deck's");
    require(status != 0 || !out.empty(), "status 0 without a deck");
    if (!out.empty())
        require(!deck::tessen_stop(out), "a deck written that tessen stops on");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::input_text(data, size);
    for (const char* extension : {"xyz", "sdf", "pdb"})
        run_as(bytes, extension);
    return 0;
}
