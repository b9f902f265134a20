#include "fit/FitRun.hpp"

#include "companion/CommandError.hpp"

namespace tessen::fit {

namespace {

// Every model set up first, so that an input error stops the run before any fit.
std::vector<MomentModel> set_up_models(const model::DeckMolecule& molecule,
                                       const std::vector<StructureParameter>& parameters,
                                       const std::vector<Species>& species,
                                       const FitRequest& request, const std::string& file) {
    std::vector<MomentModel> models;
    for (ModelKind kind : request.models) {
        models.push_back(set_up_model(kind, request.data, molecule, parameters, species, file));
        const MomentModel& m = models.back();
        const std::size_t n = m.data_points.size();
        const std::size_t p = m.parameters.size() + m.constants.size();
        if (n < p)
            throw companion::CommandError(2, std::string(model_name(kind)) +
                                                 ": fewer measured values (" + std::to_string(n) +
                                                 ") than parameters (" + std::to_string(p) + ")");
    }
    return models;
}

} // namespace

bool FitRun::all_done() const {
    for (const ModelFit& fit : fits)
        if (!fit.done)
            return false;
    return true;
}

const ModelFit* FitRun::first_done() const {
    for (const ModelFit& fit : fits)
        if (fit.done)
            return &fit;
    return nullptr;
}

FitRun run_fit(const model::DeckMolecule& molecule, const std::string& deck,
               const std::vector<StructureParameter>& parameters,
               const std::vector<Species>& species, const FitRequest& request,
               const std::string& observed_file) {
    FitRun run;
    run.molecule = &molecule;
    run.deck = deck;
    run.request = request;
    run.parameters = parameters;
    run.species = species;
    const std::vector<MomentModel> models =
        set_up_models(molecule, parameters, species, request, observed_file);
    for (const MomentModel& m : models) {
        run.fits.push_back(fit_model(m));
        for (const std::string& w : run.fits.back().warnings)
            run.warnings.push_back(w);
    }
    const ModelFit* first = run.first_done();
    const std::vector<model::AtomRecord>& structure = first ? first->records : molecule.records;
    if (request.substitution)
        run.substitution = substitution_structure(species, molecule, structure, request.costain);
    if (first)
        run.predictions = predictions(first->model, first->summary.values);
    else if (models.empty()) // rs alone: from the deck's structure
        run.predictions = predictions(
            set_up_model(ModelKind::r0, DataKind::moments, molecule, {}, species, observed_file),
            {});
    return run;
}

} // namespace tessen::fit
