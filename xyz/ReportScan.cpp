#include "xyz/ReportScan.hpp"

#include <cstdint>
#include <string_view>

namespace tessen::xyz {

namespace {

// The report lines that mark what follows them (free-form lines begin with a blank of
// their own, so each text stands one column further right than written).
constexpr std::string_view kMoleculeHeader = "  PROGRAM TESSEN";
constexpr std::string_view kInputFrame = "   CARTESIAN COORDINATES IN INPUT AXIS FRAME";
constexpr std::string_view kInputFrameNote = "   NOTE THAT THESE ARE INDEPENDENT OF ISOTOPE";
constexpr std::string_view kPrincipalFrame = "    PRINCIPAL CARTESIAN COORDINATES";
constexpr std::string_view kPrincipalFrameNote = "   NOTE THAT THESE DIFFER FOR DIFFERENT ISOTOPES";
constexpr std::string_view kColumnHeader = " ATOM NO.       X           Y          Z          MASS";

std::string trimmed(std::string_view text) {
    std::size_t end = text.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view{}
                                                     : text.substr(0, end + 1));
}

class Scanner {
  public:
    explicit Scanner(const std::vector<std::string>& lines) : lines_(lines) {}

    ReportContents run();

  private:
    const std::vector<std::string>& lines_;
    ReportContents contents_;
    int molecule_ = 0;
    int block_ = 0;
    std::string title_;

    std::string_view line(std::size_t i) const {
        return i < lines_.size() ? std::string_view(lines_[i]) : std::string_view{};
    }
    bool heading_at(std::size_t i, std::string_view first, std::string_view second) const {
        return line(i) == first && i + 1 < lines_.size() && line(i + 1) == second;
    }
    void problem(std::size_t i, const std::string& what);
    std::size_t start_molecule(std::size_t i);
    std::size_t take_listing(std::size_t header, CoordinateSet set);
    std::string describe(const CoordinateSet& set) const;
};

ReportContents Scanner::run() {
    std::size_t i = 0;
    while (i < lines_.size()) {
        if (line(i) == kMoleculeHeader) {
            i = start_molecule(i);
        } else if (heading_at(i, kInputFrame, kInputFrameNote)) {
            i = take_listing(i + 3, {molecule_, 0, title_, trimmed(line(i + 2)), {}});
        } else if (heading_at(i, kPrincipalFrame, kPrincipalFrameNote)) {
            ++block_;
            std::string subtitle = i > 0 ? trimmed(line(i - 1)) : std::string();
            i = take_listing(i + 2, {molecule_, block_, title_, subtitle, {}});
        } else {
            ++i;
        }
    }
    return std::move(contents_);
}

void Scanner::problem(std::size_t i, const std::string& what) {
    contents_.problems.push_back("line " + std::to_string(i + 1) + ": " + what);
}

// The header line, then titles 1 and 2 (always written in full, so never taken for a
// heading).
std::size_t Scanner::start_molecule(std::size_t i) {
    ++molecule_;
    block_ = 0;
    title_ = trimmed(line(i + 1));
    return i + 3;
}

std::string Scanner::describe(const CoordinateSet& set) const {
    std::string frame = set.block == 0 ? "input axis frame"
                                       : "principal axes of block " + std::to_string(set.block);
    return "molecule " + std::to_string(set.molecule) + ", " + frame;
}

// The column header line at index header, then one line per atom from atom 1 on.
std::size_t Scanner::take_listing(std::size_t header, CoordinateSet set) {
    if (molecule_ == 0) {
        problem(header, "coordinate listing before any molecule header; skipped");
        return header;
    }
    if (line(header) != kColumnHeader) {
        problem(header, describe(set) + ": column header missing; listing skipped");
        return header;
    }
    std::size_t i = header + 1;
    bool readable = true;
    for (std::int32_t row = 1; i < lines_.size() && is_listing_line(line(i), row); ++row, ++i) {
        std::optional<ListedAtom> atom = read_listing_line(line(i));
        if (!atom && readable)
            problem(i, describe(set) + ": atom " + std::to_string(row) +
                           " has a coordinate too wide for its field; no file written");
        readable = readable && atom.has_value();
        if (atom)
            set.atoms.push_back(*atom);
    }
    if (readable && set.atoms.empty())
        problem(header, describe(set) + ": listing without atoms; no file written");
    if (readable && !set.atoms.empty())
        contents_.sets.push_back(std::move(set));
    return i;
}

} // namespace

ReportContents scan_report(const std::vector<std::string>& lines) {
    return Scanner(lines).run();
}

} // namespace tessen::xyz
