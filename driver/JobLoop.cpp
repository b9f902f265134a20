#include "driver/JobLoop.hpp"

#include "geometry/AtomTable.hpp"
#include "geometry/BuildXyz.hpp"
#include "geometry/DistCheck.hpp"
#include "geometry/MassProps.hpp"
#include "geometry/ReadMasses.hpp"
#include "geometry/ScreenXyz.hpp"
#include "geometry/SparseCoordList.hpp"
#include "geometry/TitleSet.hpp"
#include "records/LayoutReader.hpp"
#include "records/LayoutWriter.hpp"

#include <memory>

namespace tessen {

namespace {

constexpr std::int32_t kEndCode = 999;
constexpr std::int32_t kMoleculeCode = -9;
constexpr std::int32_t kIsotopeCode = -6;

enum class State {
    read_control,
    dispatch,
    molecule,
    listings,
    mass_block,
    isotope_header,
    isotope_set,
    redispatch,
    finish,
};

// Everything the loop keeps for the whole run; nothing is reset between jobs.
struct Run {
    Run(InputDeck& d, RecordSink& r) : deck(d), report(r) {}
    InputDeck& deck;
    RecordSink& report;
    AtomTable atoms{};
    TitleSet titles;
    SparseCoordList sparse;
    MassBlock block;
    std::int32_t code = 0;
    std::int32_t n = 0;
    std::int32_t isotope_flag = 0;
};

const Layout& control_layout() {
    static const Layout layout("(I3,3I4)");
    return layout;
}

void read_control(Run& run) {
    LayoutReader in(run.deck, control_layout());
    run.code = in.get_int();
}

// The counts record, then the three titles.
void read_molecule_head(Run& run) {
    LayoutReader in(run.deck, control_layout());
    run.code = in.get_int(); // read and never used
    run.n = in.get_int();
    run.isotope_flag = in.get_int();
    check_atom_count(run.n);
    read_text_record(run.deck, run.titles.first.chars);
    read_text_record(run.deck, run.titles.second.chars);
    read_text_record(run.deck, run.titles.third.chars);
}

void write_molecule_header(Run& run) {
    static const Layout kHeading("(10X,'INPUT VALENCE COORDINATES')");
    write_line(run.report, " PROGRAM TESSEN");
    write_text_record(run.report, run.titles.first.view());
    write_text_record(run.report, run.titles.second.view());
    write_line(run.report);
    write_record(run.report, kHeading);
}

void write_trailer(Run& run) {
    for (int line = 0; line < 4; ++line)
        write_line(run.report);
}

void read_isotope_header(Run& run) {
    static const Layout kHeader("(I3,A)");
    LayoutReader in(run.deck, kHeader);
    run.code = in.get_int();
    in.get_text(run.titles.third.chars);
}

// A control record: 999 ends the run, -9 starts a molecule, -6 an isotope mass set for
// the molecule in hand; any other code is skipped.
State dispatch(std::int32_t code) {
    if (code == kEndCode)
        return State::finish;
    if (code == kMoleculeCode)
        return State::molecule;
    if (code == kIsotopeCode)
        return State::isotope_set;
    return State::read_control;
}

// An isotope header record whose code was not -6 acts as the next control record: 999
// ends the run, -9 starts a molecule (its counts record is next), any other code skips it.
State redispatch(std::int32_t code) {
    if (code == kEndCode)
        return State::finish;
    if (code == kMoleculeCode)
        return State::molecule;
    return State::read_control;
}

State molecule(Run& run) {
    read_molecule_head(run);
    write_molecule_header(run);
    if (BUILDXYZ(run.deck, run.report, run.atoms, run.titles, run.n))
        return State::listings;
    write_trailer(run);
    return State::read_control;
}

State listings(Run& run) {
    SCREENXYZ(run.atoms.pos, run.n, run.sparse);
    write_line(run.report);
    write_line(run.report, "  CARTESIAN COORDINATES IN INPUT AXIS FRAME");
    write_line(run.report, "  IN FORMAT FOR INPUT TO KOFT");
    write_line(run.report, "  NOTE THAT THESE ARE INDEPENDENT OF ISOTOPE");
    LISTSPARSE(run.report, run.sparse);
    DISTCHECK(run.report, run.atoms, run.n);
    return State::mass_block;
}

State mass_block(Run& run) {
    MASSPROPS(run.report, run.atoms, run.titles, run.n, run.block, run.sparse);
    if (run.isotope_flag >= 1)
        return State::isotope_header;
    write_trailer(run);
    return State::read_control;
}

State isotope_header(Run& run) {
    read_isotope_header(run);
    if (run.code == kIsotopeCode)
        return State::isotope_set;
    write_trailer(run);
    return State::redispatch;
}

State step(Run& run, State state) {
    switch (state) {
    case State::read_control:
        read_control(run);
        return State::dispatch;
    case State::dispatch:
        return dispatch(run.code);
    case State::molecule:
        return molecule(run);
    case State::listings:
        return listings(run);
    case State::mass_block:
        return mass_block(run);
    case State::isotope_header:
        return isotope_header(run);
    case State::isotope_set:
        READMASSES(run.deck, run.report, run.atoms, run.n);
        return State::mass_block;
    case State::redispatch:
        return redispatch(run.code);
    case State::finish:
        break;
    }
    return State::finish;
}

} // namespace

void run_job_loop(InputDeck& deck, RecordSink& report) {
    auto run = std::make_unique<Run>(deck, report);
    State state = State::read_control;
    while (state != State::finish)
        state = step(*run, state);
}

} // namespace tessen
