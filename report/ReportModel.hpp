// What a report holds, as the programs that read reports back see it: per molecule its
// titles, its coordinate listing in the input axis frame and its mass-properties blocks.

#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tessen::report {

// A number as the report shows it, its printed decimal value read into double precision:
// nothing where its field holds no number (asterisks, the mark of a value too wide for its
// field, or a line cut short). Never 0 in its place.
using Shown = std::optional<double>;
using ShownTriple = std::array<Shown, 3>;
using ShownMatrix = std::array<ShownTriple, 3>; // by rows, as the report shows them

// One atom of a coordinate listing.
struct ListingRow {
    std::size_t line = 0; // its line in the report, from 1
    Shown x;
    Shown y;
    Shown z;
    Shown mass;

    bool coordinates_shown() const { return x && y && z; }
};

// A coordinate listing: the column header and one row per atom, from atom 1 on.
struct Listing {
    std::size_t line = 0; // the line of its column header
    std::string title;    // the third title over it, less trailing blanks
    std::vector<ListingRow> rows;
};

// The molecule with one set of masses: the block that each mass set of a molecule gets.
struct MassBlock {
    std::size_t line = 0; // the line where the block begins (its total mass)
    std::string title;    // the third title over the block, less trailing blanks
    Shown total_mass;
    ShownTriple centre_of_mass;
    ShownMatrix inertia_tensor;
    ShownTriple principal_moments; // in report order
    ShownMatrix transformation;
    std::optional<Listing> principal; // principal coordinates and masses
};

// One molecule, from its header line to the next. A molecule of fewer than three atoms
// has neither listings nor blocks.
struct Molecule {
    int number = 0;       // its place in the report, from 1
    std::size_t line = 0; // the line of its header
    std::string title1;   // less trailing blanks
    std::string title2;
    std::optional<Listing> input_frame;
    std::vector<MassBlock> blocks;
};

// Something in the report that is not as tessen writes it.
struct Problem {
    enum class Kind {
        listing_before_molecule, // a coordinate listing before any molecule header; skipped
        block_before_molecule,   // a mass-properties block before any molecule header; skipped
        column_header_missing,   // a listing heading without its column header; skipped
        listing_without_rows,    // a column header with no atom row under it
        block_incomplete,        // a block without some of its parts, or cut short
    };
    std::size_t line = 0; // from 1
    Kind kind = Kind::block_incomplete;
    int molecule = 0; // 0 before any molecule header
    int block = 0;    // 0: the input axis frame or no block; k: the k-th block
    std::string text; // what is wrong, naming the molecule and the listing or block

    // "line N: text"
    std::string message() const { return "line " + std::to_string(line) + ": " + text; }
};

} // namespace tessen::report
