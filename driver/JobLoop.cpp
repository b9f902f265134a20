// The job loop: the deck read as its grammar, from the first record to the end record.
//
//   deck         := { job } end-record                  end-record: control code 999
//   job          := control-record body
//   body         := molecule                             control code -9
//                 | mass-set                             control code -6
//                 | nothing                              any other code: skipped
//   molecule     := counts-record 3*title-record atom-records
//                   [ listings mass-block isotope-sets ]   (N of 3 or more)
//                   trailer
//   mass-set     := mass-records mass-block isotope-sets trailer
//   isotope-sets := when the isotope flag is 1 or more:
//                   { header(-6) mass-records mass-block } header(other code)
//
// The header that ends the isotope sets is not read again: its code carries over as the
// next control record (999 ends the deck, -9 starts a molecule whose counts record is
// next, any other code skips it), and its columns 4-63 stay in the third title.
//
// Nothing is reset between jobs: the atom table, N, the isotope flag and the titles stay
// until a record replaces them, so a mass set works on the molecule in hand.

#include "driver/JobLoop.hpp"

#include "driver/MassSection.hpp"

#include "geometry/BuildXyz.hpp"
#include "geometry/MoleculeSections.hpp"
#include "geometry/ReadMasses.hpp"
#include "records/Diagnostic.hpp"
#include "records/LayoutReader.hpp"
#include "report/ReportVocabulary.hpp"

#include <memory>

namespace tessen {

using report::kEndCode;
using report::kIsotopeCode;
using report::kMoleculeCode;

// deck := { job } end-record
void JobLoop::run() {
    walk(read_control_record());
}

void JobLoop::run_from(std::int32_t code) {
    walk(code);
}

void JobLoop::walk(std::int32_t code) {
    try {
        while (code != kEndCode)
            code = run_job(code);
    } catch (RunError& error) {
        // A fault raised while acting on a record (placing an atom) lies at the record
        // read last. A mass block's fault comes located at the line where it was
        // submitted, which may lie before the line read now.
        if (is_record_fault(error.kind()) && !error.located())
            error.locate(deck_.line());
        throw;
    }
}

// Runs the job that a control code starts and returns the code of the next control record.
std::int32_t JobLoop::run_job(std::int32_t code) {
    switch (code) {
    case kMoleculeCode:
        return molecule();
    case kIsotopeCode:
        return mass_set();
    default: // skipped without a message
        return read_control_record();
    }
}

// molecule := counts-record 3*title-record atom-records [listings mass-block isotope-sets]
//             trailer
std::int32_t JobLoop::molecule() {
    ++summary_.molecules;
    read_counts_and_titles();
    write_molecule_header(report_, titles_);
    const bool goes_on = BUILDXYZ(deck_, report_, atoms_, titles_, n_, listed_, listener_);
    if (listener_)
        listener_->molecule_built(atoms_, n_);
    if (!goes_on) { // fewer than 3 atoms
        write_trailer(report_);
        return read_control_record();
    }
    write_input_frame_listings(report_, atoms_, n_, listed_, sparse_);
    mass_block();
    return isotope_sets_and_trailer();
}

// mass-set := mass-records mass-block isotope-sets trailer
std::int32_t JobLoop::mass_set() {
    read_masses();
    mass_block();
    return isotope_sets_and_trailer();
}

// isotope-sets := { header(-6) mass-records mass-block } header(other code), read only
// when the isotope flag is 1 or more. Returns the code that carries over as the next
// control record.
std::int32_t JobLoop::isotope_sets_and_trailer() {
    if (isotope_flag_ < 1) {
        write_trailer(report_);
        return read_control_record();
    }
    std::int32_t code = read_isotope_header();
    while (code == kIsotopeCode) {
        read_masses();
        mass_block();
        code = read_isotope_header();
    }
    write_trailer(report_);
    return code;
}

void JobLoop::read_masses() {
    if (listener_)
        listener_->mass_set_begun(n_);
    READMASSES(deck_, report_, atoms_, n_, listener_);
}

// The block is a job of the report: a report written in the background computes and
// writes it there while the deck is read on.
void JobLoop::mass_block() {
    submit_mass_block(report_, atoms_, titles_, n_, deck_.line());
    ++summary_.mass_blocks;
}

// Columns 1-3 of a control record.
std::int32_t JobLoop::read_control_record() {
    LayoutReader in(deck_, report::kControlRecord);
    const std::int32_t code = in.get_int();
    if (listener_)
        listener_->control_read(code);
    return code;
}

// The counts record (its first field is read and never used; N above 500 ends the run),
// then the three titles.
void JobLoop::read_counts_and_titles() {
    LayoutReader in(deck_, report::kControlRecord);
    in.get_int();
    n_ = in.get_int();
    isotope_flag_ = in.get_int();
    if (listener_)
        listener_->counts_read(n_, isotope_flag_);
    check_atom_count(n_);
    read_text_record(deck_, titles_.first.chars);
    read_text_record(deck_, titles_.second.chars);
    read_text_record(deck_, titles_.third.chars);
}

// The code in columns 1-3; columns 4-63 replace the third title whatever the code.
std::int32_t JobLoop::read_isotope_header() {
    LayoutReader in(deck_, report::kIsotopeHeader);
    const std::int32_t code = in.get_int();
    in.get_text(titles_.third.chars);
    if (listener_)
        listener_->isotope_header_read(code);
    return code;
}

JobSummary run_job_loop(InputDeck& deck, ReportPipeline& report) {
    // On the heap: the atom table and the mass block are large.
    auto loop = std::make_unique<JobLoop>(deck, report);
    loop->run();
    return loop->summary();
}

} // namespace tessen
