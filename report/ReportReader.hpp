#pragma once

#include "records/ByteStreams.hpp"
#include "report/ReportLines.hpp"
#include "report/ReportModel.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tessen::report {

// Reads a report back, one molecule at a time, so that memory holds one molecule. The
// sections are known by the report's own headings and read by its own layouts. What is
// not as tessen writes it is collected as a problem with its line number, never thrown;
// only a source that cannot be read raises RunError.
class ReportReader {
  public:
    // name is the one that a diagnostic about the source gives.
    ReportReader(ByteSource& source, std::string name);

    // The next molecule of the report; nothing at its end.
    std::optional<Molecule> next_molecule();

    // The problems found so far, in report order; they are then forgotten.
    std::vector<Problem> take_problems();

  private:
    ReportLines lines_;
    std::vector<Problem> problems_;
    int molecules_ = 0;
    // The block that parts of a mass-properties block go to, and the parts it has in full.
    bool block_open_ = false;
    unsigned parts_seen_ = 0;
    unsigned parts_complete_ = 0;

    void examine(Molecule& molecule);
    void take_input_frame(Molecule& molecule);
    void take_principal(Molecule& molecule);
    void take_total_mass(Molecule& molecule);
    void take_rows(Molecule& molecule, unsigned part);
    std::optional<Listing> take_listing(std::size_t header_line, std::string title,
                                        const Molecule& molecule, int block);
    MassBlock& block_for(Molecule& molecule, unsigned part, std::size_t line, std::string title);
    void close_block(const Molecule& molecule);
    void problem(std::size_t line, Problem::Kind kind, int molecule, int block, std::string text);
};

// A whole report: every molecule, and every problem found.
struct Report {
    std::vector<Molecule> molecules;
    std::vector<Problem> problems;
};

// Reads a whole report. Raises RunError when the source cannot be read.
Report read_report(ByteSource& source, const std::string& name);

} // namespace tessen::report
