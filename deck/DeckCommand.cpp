#include "deck/DeckCommand.hpp"

#include "companion/CommandError.hpp"
#include "companion/CompanionCommand.hpp"
#include "deck/CheckedMolecule.hpp"
#include "geometry/AtomTable.hpp"

#include <openbabel/oberror.h>

#include <fstream>
#include <optional>
#include <ostream>

namespace tessen::deck {

namespace {

using companion::kExitFailed;
using companion::kExitOk;
using companion::kExitUsage;

constexpr const char* kUsage =
    "usage: tessen-deck [OPTIONS] FILE... [-o DECK]\n"
    "       tessen-deck --help | --version\n"
    "Writes a TESSEN deck of every structure of the molecule files (any format that Open\n"
    "Babel reads: XYZ, SDF/MOL, PDB, CML, Gaussian, ORCA, MOPAC, ...), on standard output\n"
    "or in DECK. Row k of a molecule is the input's atom k; dummy atoms (mass 0) follow.\n"
    "  -i FORMAT                 read every FILE in this Open Babel format\n"
    "  -o DECK                   write the deck to DECK\n"
    "  --isotopologue LIST       add an isotope mass set, LIST as ATOM:ISOTOPE[,...]\n"
    "                            (2:2H,3:2H or 1:13C); may be given more than once\n"
    "  --single-substitutions    add a mass set for every atom with a stable minor isotope\n"
    "                            (2H 13C 15N 18O 34S 37Cl 29Si 10B 6Li 81Br 25Mg)\n"
    "exit status: 0 done; 1 a file cannot be read or a structure cannot be written;\n"
    "2 the command line is wrong, or an unknown isotope or atom number.\n";

struct Options {
    std::vector<std::string> files;
    std::string format;
    std::optional<std::string> output;
    std::vector<std::string> isotopologues;
    bool single_substitutions = false;
};

class DeckRun {
  public:
    DeckRun(const Options& options, std::ostream& err) : options_(options), err_(err) {}

    // Reads every file; false when an isotope or atom number is unknown (exit 2).
    bool read_all() {
        for (const std::string& file : options_.files) {
            if (std::optional<std::string> why = read_structures(
                    file, options_.format, [&](const Structure& s) { add(file, s); })) {
                err_ << "tessen-deck: " << file << ": " << *why << "\n";
                failed_ = true;
            }
            if (usage_error_)
                return false;
        }
        return true;
    }

    bool failed() const { return failed_; }
    const std::vector<DeckMolecule>& molecules() const { return molecules_; }

  private:
    const Options& options_;
    std::ostream& err_;
    std::vector<DeckMolecule> molecules_;
    bool failed_ = false;
    bool usage_error_ = false;
    int structures_ = 0;

    // "tessen-deck: FILE: structure K: what" on the error stream.
    void say(const std::string& file, const std::string& what) {
        err_ << "tessen-deck: " << file << ": structure " << structures_ << ": " << what << "\n";
    }

    // The isotope sets that the options ask for; an unknown isotope or atom number is a
    // usage error.
    std::vector<IsotopeSet> isotope_sets(const Structure& s) const {
        std::vector<IsotopeSet> sets;
        for (const std::string& substitutions : options_.isotopologues) {
            auto parsed = parse_isotopologue(substitutions, s);
            if (auto* error = std::get_if<std::string>(&parsed))
                throw companion::CommandError(kExitUsage, *error);
            sets.push_back(std::get<IsotopeSet>(std::move(parsed)));
        }
        if (options_.single_substitutions)
            for (IsotopeSet& set : single_substitutions(s))
                sets.push_back(std::move(set));
        return sets;
    }

    // A structure that tessen could not run is named and left out; the others are still
    // written.
    void add(const std::string& file, const Structure& s) {
        ++structures_;
        if (usage_error_)
            return;
        try {
            refuse_unplaceable(s);
            molecules_.push_back(checked_deck_molecule(s, file, isotope_sets(s)));
        } catch (const companion::CommandError& error) {
            say(file, error.what());
            usage_error_ = error.status() == kExitUsage;
            failed_ = true;
        }
    }
};

// The options of a parsed command line.
Options options_of(const companion::Arguments& arguments) {
    Options options;
    options.files = arguments.operands;
    const auto last = [&](const char* name) -> std::optional<std::string> {
        const auto found = arguments.values.find(name);
        if (found == arguments.values.end())
            return std::nullopt;
        return found->second.back();
    };
    options.format = last("-i").value_or("");
    options.output = last("-o");
    if (const auto found = arguments.values.find("--isotopologue"); found != arguments.values.end())
        options.isotopologues = found->second;
    options.single_substitutions = arguments.has("--single-substitutions");
    return options;
}

} // namespace

int run_deck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const companion::Parsed parsed =
        companion::parse_arguments(args, "tessen-deck", kUsage, {"--single-substitutions"},
                                   {"-i", "-o", "--isotopologue"}, out, err);
    if (!parsed.arguments)
        return parsed.status;
    const Options options = options_of(*parsed.arguments);
    // Open Babel's own messages (kekulisation warnings; an error at the end of some output
    // files) are not the user's concern: a file that gives no structure is named below.
    OpenBabel::obErrorLog.StopLogging();
    DeckRun run(options, err);
    if (!run.read_all())
        return kExitUsage;
    if (!run.molecules().empty()) {
        const std::string text = deck_text(run.molecules());
        if (options.output) {
            std::ofstream file(*options.output, std::ios::binary | std::ios::trunc);
            file << text;
            file.close();
            if (!file) {
                err << "tessen-deck: " << *options.output << ": cannot be written\n";
                return kExitFailed;
            }
        } else {
            out << text << std::flush;
        }
    }
    return run.failed() ? kExitFailed : kExitOk;
}

} // namespace tessen::deck
