// DISTCHECK: the interatomic distance check section.
//
// Each row is the layout kDistanceBlock: an "ATOM" line, then the row's distances in
// lines of eight fields "1X,F9.6" (the last 1X of a line is dropped with the line's
// end), so every field of a distance line is ten characters. The distance from i to j
// is the distance from j to i bit for bit (the differences change sign, their products
// do not), so each pair is computed and edited once, into a table of field texts.
//
// The table is filled here, in the caller's thread, and laid out into lines by a report
// job: a report written in the background lays the lines out there, while the deck is
// read on.

#include "geometry/DistCheck.hpp"

#include "geometry/Precision.hpp"
#include "records/BlankAndF96.hpp"
#include "records/LayoutWriter.hpp"
#include "records/RealOutput.hpp"
#include "report/ReportVocabulary.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace tessen {

float distance(const Triple& from, const Triple& to) {
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        double diff = double(to[k]) - double(from[k]);
        sum += diff * double(store(diff)); // the unrounded difference times its float value
    }
    return store(std::sqrt(sum));
}

namespace {

constexpr std::size_t kFieldsPerLine = 8;
constexpr std::size_t kFieldWidth = 10; // 1X and F9.6
constexpr std::size_t kSlotSize = 16;   // a field's text as stored: ten bytes and scratch

// The text of one field "1X,F9.6", with the scratch bytes its store may leave.
struct Slot {
    char bytes[kSlotSize];
};

// The field of one distance.
Slot distance_slot(float d) {
    Slot slot;
    if (!edit_blank_and_f9_6(slot.bytes, d)) {
        slot.bytes[0] = ' ';
        edit_real(slot.bytes + 1, d, 9, 6);
    }
    return slot;
}

// The coordinates of a molecule by axis, so that a row of distances is a loop over
// plain arrays.
struct Columns {
    std::vector<float> axis[3];

    Columns(const AtomTable& atoms, std::int32_t n) {
        for (int k = 0; k < 3; ++k) {
            axis[k].resize(static_cast<std::size_t>(n) + 1);
            for (std::int32_t i = 1; i <= n; ++i)
                axis[k][i] = atoms.pos[i][k];
        }
    }
};

// The distances from atom i to atoms i+1..n into out[i+1..n], each as distance() gives
// it; false when one of them is not a finite float (distance() would raise a fault).
bool distances_after(const Columns& c, std::int32_t i, std::int32_t n, float* out) {
    const double xi = c.axis[0][i], yi = c.axis[1][i], zi = c.axis[2][i];
    const float* x = c.axis[0].data();
    const float* y = c.axis[1].data();
    const float* z = c.axis[2].data();
    for (std::int32_t j = i + 1; j <= n; ++j) {
        const double dx = double(x[j]) - xi;
        const double dy = double(y[j]) - yi;
        const double dz = double(z[j]) - zi;
        const double sum = 0.0 + dx * double(static_cast<float>(dx)) +
                           dy * double(static_cast<float>(dy)) +
                           dz * double(static_cast<float>(dz));
        out[j] = static_cast<float>(std::sqrt(sum));
    }
    // Finite exactly when the largest magnitude's bits are below those of infinity.
    std::uint32_t largest = 0;
    for (std::int32_t j = i + 1; j <= n; ++j)
        largest = std::max(largest, std::bit_cast<std::uint32_t>(out[j]) & 0x7fffffffu);
    return largest < 0x7f800000u;
}

// The field texts of a molecule's pairs: the pair (j, i), j < i, at
// slots[(i - 1) * (i - 2) / 2 + j - 1], so that row i finds its first i - 1 fields side
// by side. Filled for rows 1 to rows, in the caller's thread; a report job that lays out
// the blocks of those rows. The report pipeline keeps it, with its storage, for the next
// molecule.
struct DistanceTable : ReportJob {
    std::int32_t n = 0;
    std::int32_t rows = 0;
    std::vector<Slot> slots;

    static std::size_t pairs(std::int32_t n) {
        return static_cast<std::size_t>(n) * static_cast<std::size_t>(n - 1) / 2;
    }
    void write(RecordSink& out) override;

    Slot& at(std::int32_t i, std::int32_t j) {
        const auto row = static_cast<std::size_t>(i - 1);
        return slots[row * (row - 1) / 2 + static_cast<std::size_t>(j) - 1];
    }
    const Slot& at(std::int32_t i, std::int32_t j) const {
        return const_cast<DistanceTable*>(this)->at(i, j);
    }
};

// Fills the table row by row and returns 0, or, at the first row with a distance that
// is not a finite float, the number of that row, with the rows before it filled.
std::int32_t fill_table(const AtomTable& atoms, DistanceTable& table) {
    const std::int32_t n = table.n;
    const Columns columns(atoms, n);
    std::vector<float> after(static_cast<std::size_t>(n) + 1);
    for (std::int32_t i = 1; i <= n; ++i) {
        if (!distances_after(columns, i, n, after.data()))
            return i;
        for (std::int32_t j = i + 1; j <= n; ++j)
            table.at(j, i) = distance_slot(after[static_cast<std::size_t>(j)]);
        table.rows = i;
    }
    return 0;
}

// A line of up to eight fields under construction; each slot is stored whole, and the
// next one overwrites its scratch.
class DistanceLine {
  public:
    explicit DistanceLine(RecordSink& report) : report_(report) {}
    void add(const Slot& field) {
        std::memcpy(text_ + count_ * kFieldWidth, field.bytes, kSlotSize);
        if (++count_ == kFieldsPerLine)
            end();
    }
    // Ends the line, if it holds a field.
    void end() {
        if (count_ != 0)
            report_.put_record({text_, count_ * kFieldWidth}, false);
        count_ = 0;
    }

  private:
    RecordSink& report_;
    char text_[kFieldsPerLine * kFieldWidth + kSlotSize];
    std::size_t count_ = 0;
};

// The blocks of the rows filled: each row's "ATOM" line and its distances to atoms 1 to
// n, eight to a line.
void write_rows(RecordSink& report, const DistanceTable& table) {
    const Slot zero = distance_slot(0.0f); // an atom's distance to itself
    for (std::int32_t i = 1; i <= table.rows; ++i) {
        write_record(report, report::kDistanceAtomLine, i);
        DistanceLine line(report);
        for (std::int32_t j = 1; j < i; ++j)
            line.add(table.at(i, j));
        line.add(zero);
        for (std::int32_t j = i + 1; j <= table.n; ++j)
            line.add(table.at(j, i));
        line.end();
    }
}

void DistanceTable::write(RecordSink& out) {
    write_rows(out, *this);
}

} // namespace

void DISTCHECK(ReportPipeline& report, const AtomTable& atoms, std::int32_t n) {
    write_line(report);
    write_line(report, report::kDistanceHeading);
    if (n <= 0)
        return;
    const auto count = static_cast<std::size_t>(n);
    const std::size_t records = count * (1 + (count + kFieldsPerLine - 1) / kFieldsPerLine);
    const std::size_t pairs = DistanceTable::pairs(n);
    DistanceTable& table = report.take_job<DistanceTable>(records, pairs * sizeof(Slot));
    table.n = n;
    table.rows = 0;
    table.slots.resize(pairs);
    const std::int32_t faulty_row = fill_table(atoms, table);
    // The whole row is computed before its block is written: the rows before a fault
    // are written, then the fault is raised.
    report.submit(table);
    if (faulty_row != 0) {
        for (std::int32_t j = faulty_row + 1; j <= n; ++j)
            static_cast<void>(distance(atoms.pos[faulty_row], atoms.pos[j])); // raises
    }
}

} // namespace tessen
