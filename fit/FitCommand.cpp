// tessen-fit's edges: the command line parsed and the inputs read and checked (any fault
// there is exit 2 with nothing computed and no file written), then run_fit computes, then
// the outputs are written.

#include "fit/FitCommand.hpp"

#include "companion/CommandError.hpp"
#include "companion/CompanionCommand.hpp"
#include "companion/RunCompanion.hpp"
#include "fit/DeckOut.hpp"
#include "fit/FitJson.hpp"
#include "fit/FitPicture.hpp"
#include "fit/FitRun.hpp"
#include "fit/FitText.hpp"
#include "fit/ObservedTable.hpp"
#include "fit/SvgPicture.hpp"
#include "fit/VaryList.hpp"
#include "records/Diagnostic.hpp"

#include <charconv>
#include <cmath>
#include <ostream>

namespace tessen::fit {

namespace {

using companion::CommandError;
using companion::kExitFailed;
using companion::kExitOk;
using companion::kExitUsage;

constexpr const char* kProgram = "tessen-fit";

constexpr const char* kUsage =
    "usage: tessen-fit [OPTIONS] DECK OBSERVED\n"
    "       tessen-fit --help | --version\n"
    "Fits the valence coordinates of a deck's molecule to measured rotational constants of\n"
    "its isotopologues (r0, rIeps, rm1, rm2) and gives Kraitchman's substitution\n"
    "coordinates on the measured constants (rs), side by side. OBSERVED is a table with a\n"
    "header: set or isotopologue, optional name, A, B, C (MHz; - where not measured),\n"
    "optional sigma_A.. and corr_A.. (MHz). A file of - is read from standard input.\n"
    "  --vary LIST       the coordinates to fit: rK, aK, dK of atom K's record; = ties\n"
    "                    (r4=r5), -dK ties a dihedral with the opposite sign (d7=-d6)\n"
    "  --model LIST      r0 (default), rIeps, rm1, rm2, rs, comma-separated\n"
    "  --data KIND       moments (default), constants or planar\n"
    "  --costain K       Costain's K in A^2 (default 0.0015)\n"
    "  --molecule N      the deck's Nth molecule (default 1)\n"
    "  --json            the whole result as JSON\n"
    "  --deck-out FILE   the deck with the first model's fitted values\n"
    "  --svg FILE        the fitted structure and r_s positions as an SVG picture\n"
    "exit status: 0 done; 1 a fit did not converge or the data do not determine a\n"
    "parameter; 2 the command line or an input file is wrong (nothing is computed).\n";

// What the command line asks for, read and checked.
struct Inputs {
    std::vector<model::DeckMolecule> molecules;
    std::size_t molecule = 0;
    std::string deck_name, deck_text;
    std::vector<Species> species;
    std::vector<StructureParameter> parameters;
    FitRequest request;
    bool json = false;
    std::string deck_out, svg;
};

std::string read_input(const std::string& name) {
    try {
        const auto source = companion::open_input(name);
        std::string text;
        char buffer[65536];
        while (const std::size_t n = source->read(buffer, sizeof buffer))
            text.append(buffer, n);
        return text;
    } catch (const RunError& error) {
        throw CommandError(kExitUsage, error.what(), companion::input_name(name));
    }
}

// The one value of an option given at most once.
std::optional<std::string> option(const companion::Arguments& args, const std::string& name) {
    const auto found = args.values.find(name);
    if (found == args.values.end())
        return std::nullopt;
    if (found->second.size() > 1)
        throw CommandError(kExitUsage, "option " + name + " is given more than once");
    return found->second.front();
}

double positive_number(const std::string& text, const std::string& what) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value > 0) ||
        !std::isfinite(value))
        throw CommandError(kExitUsage, what + " '" + text + "' is not a number above 0");
    return value;
}

FitRequest fit_request(const companion::Arguments& args) {
    FitRequest request;
    const std::string models = option(args, "--model").value_or("r0");
    std::size_t start = 0;
    while (start <= models.size()) {
        const std::size_t comma = std::min(models.find(',', start), models.size());
        const std::string name = models.substr(start, comma - start);
        start = comma + 1;
        if (std::find(request.order.begin(), request.order.end(), name) != request.order.end())
            throw CommandError(kExitUsage, "model '" + name + "' is named twice");
        request.order.push_back(name);
        if (name == "rs")
            request.substitution = true;
        else if (name == "r0")
            request.models.push_back(ModelKind::r0);
        else if (name == "rIeps")
            request.models.push_back(ModelKind::rIeps);
        else if (name == "rm1")
            request.models.push_back(ModelKind::rm1);
        else if (name == "rm2")
            request.models.push_back(ModelKind::rm2);
        else
            throw CommandError(kExitUsage,
                               "unknown model '" + name + "' (r0, rIeps, rm1, rm2 or rs)");
    }
    const std::string data = option(args, "--data").value_or("moments");
    if (data == "constants")
        request.data = DataKind::constants;
    else if (data == "planar")
        request.data = DataKind::planar;
    else if (data != "moments")
        throw CommandError(kExitUsage,
                           "unknown --data '" + data + "' (moments, constants or planar)");
    if (const auto k = option(args, "--costain"))
        request.costain = positive_number(*k, "--costain");
    return request;
}

const model::DeckMolecule& chosen_molecule(Inputs& in, const companion::Arguments& args) {
    int number = 1;
    if (const auto text = option(args, "--molecule")) {
        const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), number);
        if (ec != std::errc() || end != text->data() + text->size() || number < 1)
            throw CommandError(kExitUsage, "--molecule '" + *text + "' is not a molecule number");
    }
    if (number > static_cast<int>(in.molecules.size()))
        throw CommandError(kExitUsage,
                           "the deck has " + std::to_string(in.molecules.size()) +
                               " molecule(s), not " + std::to_string(number),
                           in.deck_name);
    in.molecule = static_cast<std::size_t>(number) - 1;
    const model::DeckMolecule& m = in.molecules[in.molecule];
    if (m.n < 3)
        throw CommandError(kExitUsage,
                           "molecule " + std::to_string(number) + " has fewer than three atoms",
                           in.deck_name, m.line);
    return m;
}

Inputs read_inputs(const companion::Arguments& args) {
    if (args.operands.size() != 2)
        throw CommandError(kExitUsage, "give a DECK and a table of OBSERVED constants");
    if (args.operands[0] == "-" && args.operands[1] == "-")
        throw CommandError(kExitUsage, "only one input can be standard input");
    Inputs in;
    in.request = fit_request(args);
    in.json = args.has("--json");
    in.deck_out = option(args, "--deck-out").value_or("");
    in.svg = option(args, "--svg").value_or("");
    in.deck_name = companion::input_name(args.operands[0]);
    in.deck_text = read_input(args.operands[0]);
    MemorySource source(in.deck_text);
    in.molecules = model::read_deck_molecules(source, in.deck_name);
    const model::DeckMolecule& molecule = chosen_molecule(in, args);
    const std::string observed_name = companion::input_name(args.operands[1]);
    const ObservedTable table = read_observed_table(read_input(args.operands[1]), observed_name);
    const auto vary = option(args, "--vary");
    if (!vary && !in.request.models.empty())
        throw CommandError(kExitUsage, "the least-squares models need --vary");
    if (vary)
        in.parameters = map_parameters(parse_vary_list(*vary), molecule);
    in.species = match_species(table, molecule, observed_name);
    return in;
}

void write_files(const Inputs& in, const FitRun& run, companion::Streams& streams) {
    if (!in.deck_out.empty()) {
        if (const ModelFit* first = run.fits.empty() ? nullptr : &run.fits.front();
            first && first->done)
            streams.write_output(in.deck_out, deck_with_values(in.deck_text, *run.molecule,
                                                               run.parameters, first->records));
        else
            streams.report(CommandError(
                kExitOk, "not written: the first model gave no fitted values", in.deck_out));
    }
    if (!in.svg.empty())
        streams.write_output(in.svg, svg_picture(fit_picture(run)));
}

int run_with(const companion::Arguments& args, companion::Streams& streams) {
    const Inputs in = read_inputs(args);
    const FitRun run = run_fit(in.molecules[in.molecule], in.deck_name, in.parameters, in.species,
                               in.request, companion::input_name(args.operands[1]));
    streams.out().write(in.json ? fit_json(run) : fit_text(run));
    for (const std::string& warning : run.warnings)
        streams.report(CommandError(kExitOk, "warning: " + warning));
    for (const ModelFit& fit : run.fits)
        if (!fit.done)
            streams.report(CommandError(kExitFailed, std::string(model_name(fit.model.kind)) +
                                                         ": " + fit.failure));
    write_files(in, run, streams);
    return run.all_done() ? kExitOk : kExitFailed;
}

} // namespace

int run_fit_command(const std::vector<std::string>& args, std::ostream& err) {
    const companion::CommandDefinition command{
        kProgram,
        kUsage,
        {"--json"},
        {"--vary", "--model", "--data", "--costain", "--molecule", "--deck-out", "--svg"}};
    return companion::run_companion(args, command, run_with, err);
}

} // namespace tessen::fit
