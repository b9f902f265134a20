// DISTCHECK: the interatomic distance check section.
//
// Each row is the layout kDistanceBlock: an "ATOM" line, then the row's distances in
// lines of eight fields "1X,F9.6" (the last 1X of a line is dropped with the line's
// end), so every field of a distance line is ten characters. The distance from i to j
// is the distance from j to i bit for bit (the differences change sign, their products
// do not), so each pair is computed and edited once: row i edits the distances to the
// atoms after i and keeps their texts for the rows to come, and takes the distances to
// the atoms before it from the texts that those rows left.

#include "geometry/DistCheck.hpp"

#include "geometry/Precision.hpp"
#include "records/LayoutWriter.hpp"
#include "records/RealOutput.hpp"
#include "report/ReportVocabulary.hpp"

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

    explicit Columns(const AtomTable& atoms, std::int32_t n) {
        for (int k = 0; k < 3; ++k) {
            axis[k].resize(static_cast<std::size_t>(n) + 1);
            for (std::int32_t i = 1; i <= n; ++i)
                axis[k][i] = atoms.pos[i][k];
        }
    }
};

// The distances from atom i to atoms i+1..n into out[i+1..n], each as distance() gives
// it; false when one of them is not a finite float (the caller then lets distance()
// raise the fault, in order).
bool distances_after(const Columns& c, std::int32_t i, std::int32_t n, float* out) {
    const double xi = c.axis[0][i], yi = c.axis[1][i], zi = c.axis[2][i];
    const float* x = c.axis[0].data();
    const float* y = c.axis[1].data();
    const float* z = c.axis[2].data();
    bool finite = true;
    for (std::int32_t j = i + 1; j <= n; ++j) {
        const double dx = double(x[j]) - xi;
        const double dy = double(y[j]) - yi;
        const double dz = double(z[j]) - zi;
        const double sum = 0.0 + dx * double(static_cast<float>(dx)) +
                           dy * double(static_cast<float>(dy)) +
                           dz * double(static_cast<float>(dz));
        out[j] = static_cast<float>(std::sqrt(sum));
        finite &= std::isfinite(out[j]);
    }
    return finite;
}

// The fields kept for the rows to come: the text of the pair (j, i), j < i, at
// rows[(i - 1) * (i - 2) / 2 + j - 1], so that row i finds its first i - 1 fields side by side.
class LowerTriangle {
  public:
    explicit LowerTriangle(std::int32_t n)
        : slots_(static_cast<std::size_t>(n) * static_cast<std::size_t>(n - 1) / 2) {}
    Slot& at(std::int32_t i, std::int32_t j) {
        const auto row = static_cast<std::size_t>(i - 1);
        return slots_[row * (row - 1) / 2 + static_cast<std::size_t>(j) - 1];
    }

  private:
    std::vector<Slot> slots_;
};

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

} // namespace

void DISTCHECK(RecordSink& report, const AtomTable& atoms, std::int32_t n) {
    write_line(report);
    write_line(report, report::kDistanceHeading);
    if (n <= 0)
        return;
    const Columns columns(atoms, n);
    LowerTriangle kept(n);
    std::vector<float> after(static_cast<std::size_t>(n) + 1);
    const Slot zero = distance_slot(0.0f); // an atom's distance to itself
    for (std::int32_t i = 1; i <= n; ++i) {
        // The whole row is computed before its block is written.
        if (!distances_after(columns, i, n, after.data())) {
            for (std::int32_t j = i + 1; j <= n; ++j)
                static_cast<void>(distance(atoms.pos[i], atoms.pos[j])); // raises the fault
        }
        write_record(report, report::kDistanceAtomLine, i);
        DistanceLine line(report);
        for (std::int32_t j = 1; j < i; ++j)
            line.add(kept.at(i, j));
        line.add(zero);
        for (std::int32_t j = i + 1; j <= n; ++j) {
            Slot& field = kept.at(j, i);
            field = distance_slot(after[static_cast<std::size_t>(j)]);
            line.add(field);
        }
        line.end();
    }
}

} // namespace tessen
