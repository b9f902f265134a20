#include "deck/Structures.hpp"

#include "geometry/AtomTable.hpp"

#include <openbabel/atom.h>
#include <openbabel/bond.h>
#include <openbabel/elements.h>
#include <openbabel/mol.h>
#include <openbabel/obconversion.h>
#include <openbabel/obiter.h>

#include <filesystem>
#include <fstream>

namespace tessen::deck {

namespace {

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
    std::streampos at = in.tellg();
    for (bool ok = conversion.Read(&mol, &in); ok; ok = conversion.Read(&mol)) {
        if (mol.NumAtoms() > 0) {
            take(structure_of(mol));
            ++structures;
        }
        mol.Clear();
        const std::streampos now = in.tellg();
        if (now == at || !in)
            break;
        at = now;
    }
    if (structures == 0)
        return std::string("no structure read");
    return std::nullopt;
}

} // namespace tessen::deck
