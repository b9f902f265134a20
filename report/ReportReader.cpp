#include "report/ReportReader.hpp"

#include "records/FieldWalker.hpp"
#include "report/ReportVocabulary.hpp"

#include <algorithm>
#include <span>

namespace tessen::report {

namespace {

// The parts of a mass-properties block.
enum Part : unsigned {
    kTotalPart = 1,
    kCentrePart = 2,
    kTensorPart = 4,
    kMomentsPart = 8,
    kTransformPart = 16,
    kPrincipalPart = 32,
    kAllParts = 63,
};

constexpr std::pair<Part, const char*> kPartNames[] = {
    {kTotalPart, "total mass"},         {kCentrePart, "centre of mass"},
    {kTensorPart, "inertia tensor"},    {kMomentsPart, "principal moments"},
    {kTransformPart, "transformation"}, {kPrincipalPart, "principal coordinates"},
};

std::string trimmed(std::string_view text) {
    std::size_t end = text.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view{}
                                                     : text.substr(0, end + 1));
}

// The value of the field the walk has just read, when the field holds a number.
Shown shown(const FieldWalker& walk, FieldStatus status, double value) {
    const bool blank = walk.last_field().find_first_not_of(' ') == std::string_view::npos;
    return status == FieldStatus::ok && !blank ? Shown(value) : std::nullopt;
}

Shown next_real(FieldWalker& walk) {
    double value = 0.0;
    FieldStatus status = walk.get_real(value);
    return shown(walk, status, value);
}

// Reads a line as one record of a row layout of reals; false when the line does not have
// the layout's shape (its width, and its blanks where the layout writes blanks).
bool read_row(const Layout& layout, std::string_view line, std::span<Shown> values) {
    FieldWalker walk(layout, line);
    for (Shown& value : values)
        value = next_real(walk);
    return walk.layout_text_shown() && walk.at_record_end();
}

// Reads the listing row of atom number row.
bool read_listing_row(std::string_view line, std::int32_t row, ListingRow& out) {
    FieldWalker walk(kListingRow, line);
    std::int32_t number = 0;
    if (walk.get_int(number) != FieldStatus::ok || number != row)
        return false;
    for (Shown* value : {&out.x, &out.y, &out.z, &out.mass})
        *value = next_real(walk);
    return walk.layout_text_shown() && walk.at_record_end();
}

std::string molecule_name(int molecule) {
    return "molecule " + std::to_string(molecule);
}

std::string listing_name(int molecule, int block) {
    return molecule_name(molecule) + ", " +
           (block == 0 ? "input axis frame" : "principal axes of block " + std::to_string(block));
}

} // namespace

ReportReader::ReportReader(ByteSource& source, std::string name)
    : lines_(source, std::move(name)) {}

std::vector<Problem> ReportReader::take_problems() {
    std::vector<Problem> taken;
    taken.swap(problems_);
    // A block is judged when it ends, after the problems found inside it.
    std::stable_sort(taken.begin(), taken.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    return taken;
}

void ReportReader::problem(std::size_t line, Problem::Kind kind, int molecule, int block,
                           std::string text) {
    problems_.push_back({line, kind, molecule, block, std::move(text)});
}

std::optional<Molecule> ReportReader::next_molecule() {
    // What stands before the first molecule header belongs to no molecule: its sections
    // are reported and skipped.
    Molecule none;
    while (true) {
        if (!lines_.advance())
            return std::nullopt;
        if (is_report_line(lines_.line(), kProgramLine))
            break;
        examine(none);
    }
    Molecule molecule;
    molecule.number = ++molecules_;
    molecule.line = lines_.number();
    // Titles 1 and 2 are written in full, so never taken for a heading.
    if (lines_.advance())
        molecule.title1 = trimmed(lines_.line());
    if (lines_.advance())
        molecule.title2 = trimmed(lines_.line());
    while (lines_.advance()) {
        if (is_report_line(lines_.line(), kProgramLine)) {
            lines_.put_back();
            break;
        }
        examine(molecule);
    }
    close_block(molecule);
    return molecule;
}

void ReportReader::examine(Molecule& molecule) {
    const std::string_view line = lines_.line();
    if (is_report_line(line, kInputFrameHeading))
        take_input_frame(molecule);
    else if (is_report_line(line, kPrincipalHeading))
        take_principal(molecule);
    else if (is_report_line(line, kTensorHeading))
        take_rows(molecule, kTensorPart);
    else if (is_report_line(line, kMomentsHeading))
        take_rows(molecule, kMomentsPart);
    else if (is_report_line(line, kTransformHeading))
        take_rows(molecule, kTransformPart);
    else
        take_total_mass(molecule);
}

// The heading, the note that the coordinates are independent of isotope (the sparse
// listing has another line here), the third title, then the listing.
void ReportReader::take_input_frame(Molecule& molecule) {
    const std::size_t header_line = lines_.number() + 3;
    if (!lines_.advance())
        return;
    if (!is_report_line(lines_.line(), kIndependentOfIsotope)) {
        lines_.put_back();
        return;
    }
    std::string title = lines_.advance() ? trimmed(lines_.line()) : std::string();
    if (molecule.number == 0) {
        problem(header_line, Problem::Kind::listing_before_molecule, 0, 0,
                "coordinate listing before any molecule header");
        return;
    }
    std::optional<Listing> listing = take_listing(header_line, std::move(title), molecule, 0);
    if (!molecule.input_frame) // a molecule has one; a repeated heading does not replace it
        molecule.input_frame = std::move(listing);
}

// The heading and the note that the coordinates differ by isotope, then the listing.
void ReportReader::take_principal(Molecule& molecule) {
    const std::size_t header_line = lines_.number() + 2;
    std::string title = trimmed(lines_.previous());
    if (!lines_.advance())
        return;
    if (!is_report_line(lines_.line(), kDifferByIsotope)) {
        lines_.put_back();
        return;
    }
    if (molecule.number == 0) {
        problem(header_line, Problem::Kind::listing_before_molecule, 0, 0,
                "coordinate listing before any molecule header");
        return;
    }
    MassBlock& block = block_for(molecule, kPrincipalPart, header_line - 2, title);
    const int number = static_cast<int>(molecule.blocks.size());
    block.principal = take_listing(header_line, std::move(title), molecule, number);
    if (block.principal && !block.principal->rows.empty())
        parts_complete_ |= kPrincipalPart;
}

// The column header (expected on header_line), then one row per atom from atom 1 on.
std::optional<Listing> ReportReader::take_listing(std::size_t header_line, std::string title,
                                                  const Molecule& molecule, int block) {
    const bool has_header = lines_.advance();
    if (!has_header || lines_.line() != kListingHeader) {
        if (has_header)
            lines_.put_back();
        problem(header_line, Problem::Kind::column_header_missing, molecule.number, block,
                listing_name(molecule.number, block) + ": column header missing");
        return std::nullopt;
    }
    Listing listing;
    listing.line = header_line;
    listing.title = std::move(title);
    for (std::int32_t row = 1; lines_.advance(); ++row) {
        ListingRow atom;
        atom.line = lines_.number();
        if (!read_listing_row(lines_.line(), row, atom)) {
            lines_.put_back();
            break;
        }
        listing.rows.push_back(atom);
    }
    if (listing.rows.empty())
        problem(header_line, Problem::Kind::listing_without_rows, molecule.number, block,
                listing_name(molecule.number, block) + ": listing without atoms");
    return listing;
}

// The total mass and, on the next line, the centre of mass: the first lines of a block.
void ReportReader::take_total_mass(Molecule& molecule) {
    std::string title = trimmed(lines_.previous());
    FieldWalker walk(kTotalMass, lines_.line(), &lines_);
    Shown total = next_real(walk);
    if (!walk.layout_text_shown())
        return; // not a total-mass line
    if (molecule.number == 0) {
        problem(lines_.number(), Problem::Kind::block_before_molecule, 0, 0,
                "mass-properties block before any molecule header");
        return;
    }
    close_block(molecule); // a total mass always begins a block
    MassBlock& block = block_for(molecule, kTotalPart, lines_.number(), std::move(title));
    block.total_mass = total;
    parts_complete_ |= kTotalPart;

    const std::size_t total_line = lines_.number();
    ShownTriple centre;
    for (Shown& value : centre)
        value = next_real(walk);
    if (lines_.number() == total_line)
        return; // the report ends here
    if (!walk.layout_text_shown() || !walk.at_record_end()) {
        lines_.put_back(); // not the centre-of-mass line
        return;
    }
    block.centre_of_mass = centre;
    parts_seen_ |= kCentrePart;
    parts_complete_ |= kCentrePart;
}

// The rows under a heading of the block: the inertia tensor, the principal moments or the
// transformation.
void ReportReader::take_rows(Molecule& molecule, unsigned part) {
    if (molecule.number == 0)
        return; // reported with the block's total mass
    MassBlock& block = block_for(molecule, part, lines_.number(), trimmed(lines_.previous()));
    std::span<ShownTriple> rows = part == kTensorPart ? std::span<ShownTriple>(block.inertia_tensor)
                                  : part == kTransformPart
                                      ? std::span<ShownTriple>(block.transformation)
                                      : std::span<ShownTriple>(&block.principal_moments, 1);
    const Layout& layout = part == kMomentsPart ? kMomentsRow : kMatrixRow;
    for (ShownTriple& row : rows) {
        ShownTriple values;
        if (!lines_.advance())
            return;
        if (!read_row(layout, lines_.line(), values)) {
            lines_.put_back();
            return;
        }
        row = values;
    }
    parts_complete_ |= part;
}

// The open block when it still lacks the part, otherwise a new block, which the part
// begins on line (under title, the line before it).
MassBlock& ReportReader::block_for(Molecule& molecule, unsigned part, std::size_t line,
                                   std::string title) {
    if (!block_open_ || (parts_seen_ & part) != 0) {
        close_block(molecule);
        MassBlock& block = molecule.blocks.emplace_back();
        block.line = line;
        block.title = std::move(title);
        block_open_ = true;
    }
    parts_seen_ |= part;
    return molecule.blocks.back();
}

// A block must have every part in full, and its principal listing as many atoms as the
// input frame.
void ReportReader::close_block(const Molecule& molecule) {
    if (!block_open_)
        return;
    block_open_ = false;
    const MassBlock& block = molecule.blocks.back();
    std::string missing;
    for (auto [part, name] : kPartNames)
        if ((parts_complete_ & part) == 0)
            missing += std::string(missing.empty() ? "" : ", ") + name;
    if (parts_complete_ == kAllParts && molecule.input_frame &&
        molecule.input_frame->rows.size() != block.principal->rows.size())
        missing = "atoms in the principal coordinates";
    parts_seen_ = 0;
    parts_complete_ = 0;
    if (missing.empty())
        return;
    const int number = static_cast<int>(molecule.blocks.size());
    problem(block.line, Problem::Kind::block_incomplete, molecule.number, number,
            molecule_name(molecule.number) + ", block " + std::to_string(number) +
                ": incomplete or cut short: missing " + missing);
}

Report read_report(ByteSource& source, const std::string& name) {
    ReportReader reader(source, name);
    Report report;
    while (std::optional<Molecule> molecule = reader.next_molecule())
        report.molecules.push_back(std::move(*molecule));
    report.problems = reader.take_problems();
    return report;
}

} // namespace tessen::report
