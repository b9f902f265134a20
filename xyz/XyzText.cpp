#include "xyz/XyzText.hpp"

#include "model/MassTable.hpp"
#include "records/RealOutput.hpp"

#include <cmath>

namespace tessen::xyz {

namespace {

constexpr std::size_t kNumberWidth = 12;

// A mass this close to an isotope's (in u) is that isotope: the report prints a float to
// six decimals, within 2e-5 of the deck's value for any mass up to 300.
constexpr double kSameMass = 1e-4;
// Otherwise, how far a mass may lie from an element's main isotope or standard weight and
// still name it, in u: a deck may give masses rounded (Cl 35.5).
constexpr double kRoundedMass = 0.1;

std::string right_justified(std::string text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

// The text in printable ASCII, without trailing blanks: control characters become blanks
// and other bytes "?", so that every reader takes the comment as one line of valid text.
std::string comment_part(std::string text) {
    for (char& c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            c = ' ';
        else if (byte > 0x7f)
            c = '?';
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string frame_name(const CoordinateSet& set) {
    return set.block == 0 ? "input axis frame"
                          : "principal axes, block " + std::to_string(set.block);
}

// A value in double quotes, in which a backslash or a double quote stands escaped by a
// backslash, so that no title can end the value or start another key.
std::string quoted(const std::string& text) {
    std::string value = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            value += '\\';
        value += c;
    }
    return value + '"';
}

// An unknown mass is written as "nan", which readers of extended XYZ take as a number:
// a computation with it gives no result rather than one made with a wrong mass.
std::string atom_line(const ListedAtom& atom) {
    std::string symbol = atom.mass ? element_symbol(*atom.mass) : "X";
    std::string text = symbol + std::string(symbol.size() < 2 ? 2 - symbol.size() : 0, ' ');
    for (float value : {atom.x, atom.y, atom.z})
        text += "  " + right_justified(xyz_number(value), kNumberWidth);
    text += "  " + right_justified(atom.mass ? xyz_number(*atom.mass) : "nan", kNumberWidth);
    return text + "\n";
}

} // namespace

// Open Babel's tables hold short-lived isotopes too (10He at 10.05): only an exact match
// names an element by a rare isotope, so that a mistyped mass does not pass for one.
std::string element_symbol(double mass) {
    const std::optional<model::KnownMass> nearest = model::nearest_known_mass(mass);
    if (nearest && std::abs(nearest->mass - mass) <= kSameMass)
        return nearest->symbol;
    const std::optional<model::KnownMass> rounded = model::identify_mass(mass, kRoundedMass);
    return rounded && rounded->main ? rounded->symbol : "X";
}

std::string xyz_number(float value) {
    // The report's own field, wide enough for any single-precision value.
    std::string field = edit_real(value, 48, 6);
    std::string text = field.substr(field.find_first_not_of(' '));
    if (text.front() == '.')
        return "0" + text;
    if (text.rfind("-.", 0) == 0)
        return "-0" + text.substr(1);
    return text;
}

std::string xyz_description(const CoordinateSet& set) {
    std::string description;
    for (const std::string& text : {set.title, set.subtitle, frame_name(set)}) {
        std::string part = comment_part(text);
        if (!part.empty())
            description += (description.empty() ? "" : " | ") + part;
    }
    return description;
}

// The description comes first: Open Babel shows the whole line as the molecule's title, and
// readers of extended XYZ take the pairs in any order.
std::string xyz_comment(const CoordinateSet& set) {
    return "comment=" + quoted(xyz_description(set)) + " Properties=" + kXyzProperties;
}

std::string xyz_text(const CoordinateSet& set) {
    std::string text = std::to_string(set.atoms.size()) + "\n" + xyz_comment(set) + "\n";
    for (const ListedAtom& atom : set.atoms)
        text += atom_line(atom);
    return text;
}

} // namespace tessen::xyz
