#pragma once

#include "fit/MomentModel.hpp"
#include "fit/ParameterMap.hpp"
#include "fit/Predictions.hpp"
#include "fit/Species.hpp"
#include "fit/StructureFit.hpp"
#include "fit/SubstitutionStructure.hpp"
#include "model/DeckMolecule.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tessen::fit {

// What a run is asked to compute, once its inputs are read and checked.
struct FitRequest {
    std::vector<ModelKind> models;  // the least-squares models, in the order asked
    bool substitution = false;      // rs
    std::vector<std::string> order; // every model's name as asked ("r0", "rs", ...)
    DataKind data = DataKind::moments;
    double costain = model::kCostainConstant;
};

// Everything a run computed, for the outputs.
struct FitRun {
    const model::DeckMolecule* molecule = nullptr;
    std::string deck;
    FitRequest request;
    std::vector<StructureParameter> parameters;
    std::vector<Species> species;
    std::vector<ModelFit> fits;
    std::optional<SubstitutionStructure> substitution;
    std::vector<Prediction> predictions;
    std::vector<std::string> warnings;

    // Whether every least-squares model converged and was determined.
    bool all_done() const;
    // The first model that gave values, if any.
    const ModelFit* first_done() const;
};

// Runs the models on the species. Fewer data than parameters in a model is an input error
// (CommandError, status 2), found before anything is fitted.
FitRun run_fit(const model::DeckMolecule& molecule, const std::string& deck,
               const std::vector<StructureParameter>& parameters,
               const std::vector<Species>& species, const FitRequest& request,
               const std::string& observed_file);

} // namespace tessen::fit
