#include "xyz/ListingLine.hpp"

#include "records/ByteStreams.hpp"
#include "records/Diagnostic.hpp"
#include "records/InputDeck.hpp"
#include "records/IntOutput.hpp"
#include "records/Layout.hpp"
#include "records/LayoutReader.hpp"

#include <string>

namespace tessen::xyz {

namespace {

constexpr std::size_t kListingWidth = 59;

// The layout that writes the listing (LISTXYZ) reads it back.
const Layout& listing_layout() {
    static const Layout layout("(4X,I3,3X,3F12.6,F13.6)");
    return layout;
}

// The next real of the line, or nothing when its field holds no number.
std::optional<float> next_real(LayoutReader& reader) {
    try {
        return reader.get_real();
    } catch (const RunError&) {
        return std::nullopt;
    }
}

} // namespace

bool is_listing_line(std::string_view line, std::int32_t row) {
    return line.size() == kListingWidth && line.substr(0, 4) == "    " &&
           line.substr(4, 3) == edit_int(row, 3) && line.substr(7, 3) == "   ";
}

std::optional<ListedAtom> read_listing_line(std::string_view line) {
    MemorySource source{std::string(line)};
    InputDeck deck(source, "listing line");
    LayoutReader reader(deck, listing_layout());
    try {
        reader.get_int();
    } catch (const RunError&) {
        return std::nullopt;
    }
    std::optional<float> x = next_real(reader);
    std::optional<float> y = x ? next_real(reader) : std::nullopt;
    std::optional<float> z = y ? next_real(reader) : std::nullopt;
    if (!z)
        return std::nullopt;
    return ListedAtom{*x, *y, *z, next_real(reader)};
}

} // namespace tessen::xyz
