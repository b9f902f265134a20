#include "deck/Structures.hpp"

#include "geometry/AtomTable.hpp"

#include <openbabel/atom.h>
#include <openbabel/bond.h>
#include <openbabel/elements.h>
#include <openbabel/mol.h>
#include <openbabel/obconversion.h>
#include <openbabel/obiter.h>

#include <cctype>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>

namespace tessen::deck {

namespace {

// A molecule file larger than this is not read: far more than any file of structures that
// decks could hold, and more than Open Babel should be given to hold in memory.
constexpr std::uintmax_t kLargestFile = std::uintmax_t{1} << 30;

// Whether what is left of the stream is blank (a reader may stop before trailing blanks).
bool rest_is_blank(std::istream& in) {
    for (char c; in.get(c);)
        if (!std::isspace(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Reads the next structure (from first, when given, the first one); false at the end. Some
// of Open Babel's readers throw on a malformed record (the PDB reader's substr past a short
// field): that ends the reading with the reason in failure, as obabel names such a file,
// rather than ending the program.
bool read_next(OpenBabel::OBConversion& conversion, OpenBabel::OBMol& mol, std::istream* first,
               std::string& failure) {
    try {
        return first ? conversion.Read(&mol, first) : conversion.Read(&mol);
    } catch (const std::exception& error) {
        failure = error.what();
        return false;
    }
}

Structure structure_of(OpenBabel::OBMol& mol) {
    Structure s;
    s.title = mol.GetTitle();
    s.formula = mol.GetFormula();
    FOR_ATOMS_OF_MOL(atom, mol) {
        InputAtom a;
        a.atomic_number = atom->GetAtomicNum();
        a.symbol = OpenBabel::OBElements::GetSymbol(a.atomic_number);
        a.mass = atom->GetExactMass();
        a.position = {atom->GetX(), atom->GetY(), atom->GetZ()};
        s.atoms.push_back(a);
    }
    // The bond table grows with the square of the atoms: a structure of more atoms than a
    // deck holds is refused without one.
    const std::size_t n = s.atoms.size();
    if (n > static_cast<std::size_t>(kMaxAtoms))
        return s;
    s.bonded.assign(n, std::vector<bool>(n, false));
    FOR_BONDS_OF_MOL(bond, mol) {
        const unsigned a = bond->GetBeginAtomIdx() - 1;
        const unsigned b = bond->GetEndAtomIdx() - 1;
        if (a < n && b < n)
            s.bonded[a][b] = s.bonded[b][a] = true;
    }
    return s;
}

} // namespace

std::optional<std::string> read_structures(const std::string& path, const std::string& format,
                                           const std::function<void(Structure)>& take) {
    if (!std::filesystem::is_regular_file(path))
        return std::string("cannot be read: no such file");
    std::error_code no_size;
    if (const std::uintmax_t size = std::filesystem::file_size(path, no_size);
        !no_size && size > kLargestFile)
        return std::to_string(size) + " bytes, larger than any molecule file that tessen-deck " +
               "reads (1 GiB)";
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::string("cannot be read");
    OpenBabel::OBConversion conversion;
    OpenBabel::OBFormat* in_format = format.empty() ? OpenBabel::OBConversion::FormatFromExt(path)
                                                    : OpenBabel::OBConversion::FindFormat(format);
    if (!in_format || !conversion.SetInFormat(in_format))
        return format.empty() ? std::string("unknown format (give one with -i)")
                              : "unknown format '" + format + "'";
    OpenBabel::OBMol mol;
    int structures = 0;
    // A reader that reports success without reading on (some formats do at the end of a
    // file they do not recognise) ends the loop: every pass must move through the file.
    // Where more than blanks is left, the file is not read to its end, and that is said.
    std::string failure;
    std::streampos at = in.tellg();
    for (bool ok = read_next(conversion, mol, &in, failure); ok;
         ok = read_next(conversion, mol, nullptr, failure)) {
        if (mol.NumAtoms() > 0) {
            take(structure_of(mol));
            ++structures;
        }
        mol.Clear();
        const std::streampos now = in.tellg();
        if (now == at && in && !rest_is_blank(in))
            return "Open Babel's reader stops at byte " + std::to_string(now) +
                   " without reading on; the rest of the file is not read";
        if (now == at || !in)
            break;
        at = now;
    }
    if (!failure.empty())
        return "Open Babel's reader failed: " + failure;
    if (structures == 0)
        return std::string("no structure read");
    return std::nullopt;
}

} // namespace tessen::deck
