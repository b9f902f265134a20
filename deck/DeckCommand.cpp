#include "deck/DeckCommand.hpp"

#include "companion/RunCompanion.hpp"
#include "companion/RunOutcome.hpp"
#include "companion/StandardInputCopy.hpp"
#include "deck/CheckedMolecule.hpp"
#include "geometry/AtomTable.hpp"

#include <openbabel/oberror.h>

#include <functional>
#include <optional>
#include <ostream>

namespace tessen::deck {

namespace {

using companion::kExitFailed;
using companion::kExitUsage;

constexpr const char* kUsage =
    "usage: tessen-deck [OPTIONS] FILE... [-o DECK]\n"
    "       tessen-deck --help | --version\n"
    "Writes a TESSEN deck of every structure of the molecule files (any format that Open\n"
    "Babel reads: XYZ, SDF/MOL, PDB, CML, Gaussian, ORCA, MOPAC, ...), on standard output\n"
    "or in DECK. Row k of a molecule is the input's atom k; dummy atoms (mass 0) follow.\n"
    "A FILE of - is read from standard input (its format given with -i).\n"
    "  -i FORMAT                 read every FILE in this Open Babel format\n"
    "  -o DECK                   write the deck to DECK (- for standard output)\n"
    "  --isotopologue LIST       add an isotope mass set, LIST as ATOM:ISOTOPE[,...]\n"
    "                            (2:2H,3:2H or 1:13C); may be given more than once\n"
    "  --single-substitutions    add a mass set for every atom with a stable minor isotope\n"
    "                            (2H 13C 15N 18O 34S 37Cl 29Si 10B 6Li 81Br 25Mg)\n"
    "exit status: 0 done; 1 a structure or the deck cannot be written, or a file cannot be\n"
    "read beside others that were; 2 no file could be read (or none gave a structure), the\n"
    "command line is wrong, or an unknown isotope or atom number.\n";

struct Options {
    std::vector<std::string> files;
    std::string format;
    std::string output; // "-": standard output
    std::vector<std::string> isotopologues;
    bool single_substitutions = false;
};

class DeckRun {
  public:
    DeckRun(const Options& options, companion::Streams& streams)
        : options_(options), streams_(streams) {}

    // Reads every file; false when an isotope or atom number is unknown (exit 2).
    bool read_all() {
        for (const std::string& file : options_.files) {
            read_one(file);
            if (usage_error_)
                return false;
        }
        return true;
    }

    int status() const { return outcome_.status(); }
    const std::vector<DeckMolecule>& molecules() const { return molecules_; }

  private:
    const Options& options_;
    companion::Streams& streams_;
    std::vector<DeckMolecule> molecules_;
    companion::RunOutcome outcome_;
    bool usage_error_ = false;
    int structures_ = 0;

    // One file's structures. A file that gives none cannot be used; one that stops after
    // giving some was used, and failed.
    void read_one(const std::string& file) {
        const std::string name = companion::input_name(file);
        const int before = structures_;
        const auto take = [&](const Structure& s) { add(name, s); };
        std::optional<companion::CommandError> stopped;
        try {
            if (std::optional<std::string> why = read_file(file, take))
                stopped.emplace(kExitUsage, *why, name);
        } catch (const companion::CommandError& error) {
            stopped = error;
        }
        if (structures_ > before)
            outcome_.input_used();
        if (!stopped)
            return;
        streams_.report(*stopped);
        if (structures_ > before)
            outcome_.result_failed();
        else
            outcome_.input_unusable();
    }

    // The structures of one file; standard input is read whole into a file of its own
    // first, since Open Babel reads a file that it can go back in.
    std::optional<std::string> read_file(const std::string& file,
                                         const std::function<void(Structure)>& take) {
        if (file != "-")
            return read_structures(file, options_.format, take);
        const companion::StandardInputCopy copy;
        return read_structures(copy.path(), options_.format, take);
    }

    // "tessen-deck: FILE: structure K: what" on the error stream.
    void say(const std::string& file, const std::string& what) {
        streams_.report(companion::CommandError(
            kExitFailed, "structure " + std::to_string(structures_) + ": " + what, file));
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
            outcome_.result_failed();
        }
    }
};

// The options of a parsed command line.
Options options_of(const companion::Arguments& arguments) {
    Options options;
    options.files = arguments.operands;
    options.format = arguments.last("-i").value_or("");
    options.output = arguments.last("-o").value_or("-");
    options.isotopologues = arguments.all("--isotopologue");
    options.single_substitutions = arguments.has("--single-substitutions");
    return options;
}

int make_deck(const companion::Arguments& arguments, companion::Streams& streams) {
    const Options options = options_of(arguments);
    // Open Babel's own messages (kekulisation warnings; an error at the end of some output
    // files) are not the user's concern: a file that gives no structure is named below.
    OpenBabel::obErrorLog.StopLogging();
    DeckRun run(options, streams);
    if (!run.read_all())
        return kExitUsage;
    if (!run.molecules().empty())
        streams.write_output(options.output, deck_text(run.molecules()));
    return run.status();
}

} // namespace

int run_deck(const std::vector<std::string>& args, std::ostream& err) {
    const companion::CommandDefinition command{
        "tessen-deck", kUsage, {"--single-substitutions"}, {"-i", "-o", "--isotopologue"}};
    return companion::run_companion(args, command, make_deck, err);
}

} // namespace tessen::deck
