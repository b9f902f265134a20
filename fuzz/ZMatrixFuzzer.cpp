// libFuzzer entry: tessen-deck's valence coordinates and checks on arbitrary positions and
// elements, without a file format in between. The input is read as the atom lines of an
// XYZ file ("C 0.0 1.2 -3e400"), each number by strtod, so that inf, nan, huge, tiny,
// coincident and collinear positions all reach the builder; other lines are skipped.
// A structure is either refused (CommandError, exit status 1) or becomes a deck whose
// records number every atom once; anything else that escapes is a finding.

#include "FuzzSupport.hpp"
#include "companion/CommandError.hpp"
#include "deck/CheckedMolecule.hpp"
#include "geometry/AtomTable.hpp"

#include <openbabel/elements.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace tessen;
using fuzz::require;

// Atoms closer than this are bonded: the builder prefers bonded references.
constexpr double kBonded = 1.7;
// Single substitutions are added for structures up to this size (each is a mass set).
constexpr std::size_t kSubstitutedAtoms = 12;

std::optional<deck::InputAtom> atom_of(const std::string& line) {
    std::istringstream in(line);
    std::string symbol, x, y, z;
    if (!(in >> symbol >> x >> y >> z))
        return std::nullopt;
    deck::InputAtom atom;
    atom.atomic_number = OpenBabel::OBElements::GetAtomicNum(symbol.c_str());
    atom.symbol = OpenBabel::OBElements::GetSymbol(atom.atomic_number);
    atom.mass = OpenBabel::OBElements::GetExactMass(atom.atomic_number);
    atom.position = {std::strtod(x.c_str(), nullptr), std::strtod(y.c_str(), nullptr),
                     std::strtod(z.c_str(), nullptr)};
    return atom;
}

bool near(const deck::Vec3& p, const deck::Vec3& q) {
    const double dx = p[0] - q[0], dy = p[1] - q[1], dz = p[2] - q[2];
    return dx * dx + dy * dy + dz * dz < kBonded * kBonded;
}

deck::Structure structure_of(std::string_view text) {
    deck::Structure s;
    std::istringstream in{std::string(text)};
    for (std::string line;
         std::getline(in, line) && s.atoms.size() <= static_cast<std::size_t>(kMaxAtoms);)
        if (std::optional<deck::InputAtom> atom = atom_of(line))
            s.atoms.push_back(*atom);
    const std::size_t n = s.atoms.size();
    s.bonded.assign(n, std::vector<bool>(n, false));
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < n; ++b)
            s.bonded[a][b] = a != b && near(s.atoms[a].position, s.atoms[b].position);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const deck::Structure s = structure_of(fuzz::input_text(data, size));
    try {
        deck::refuse_unplaceable(s);
        std::vector<deck::IsotopeSet> sets;
        if (s.atoms.size() <= kSubstitutedAtoms)
            sets = deck::single_substitutions(s);
        const deck::DeckMolecule m = deck::checked_deck_molecule(s, "fuzz.xyz", std::move(sets));
        const deck::ValenceCoordinates& c = m.coordinates;
        require(c.real_atoms == static_cast<int>(s.atoms.size()), "real atoms lost or gained");
        require(c.records.size() == static_cast<std::size_t>(c.real_atoms + c.dummy_atoms),
                "not one record per atom");
        std::vector<bool> numbered(c.records.size() + 1, false);
        for (const deck::AtomRecord& r : c.records) {
            require(r.i >= 1 && r.i <= static_cast<int>(c.records.size()) && !numbered[r.i],
                    "an atom numbered twice or out of range");
            numbered[r.i] = true;
        }
    } catch (const companion::CommandError& error) {
        require(error.status() == 1, "a structure refused with another status than 1");
    }
    return 0;
}
