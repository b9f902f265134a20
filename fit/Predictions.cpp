#include "fit/Predictions.hpp"

#include "model/Rotor.hpp"

namespace tessen::fit {

namespace {

bool measured(const std::vector<Species>& species, const std::vector<double>& masses) {
    for (const Species& s : species)
        if (same_masses(s.masses, masses))
            return true;
    return false;
}

std::array<double, 3> constants_of(const ModelMoments& m) {
    std::array<double, 3> constants{};
    for (std::size_t g = 0; g < 3; ++g)
        constants[g] = m.moments[g] > 0 ? model::kConstantFactor / m.moments[g] : 0.0;
    return constants;
}

} // namespace

std::vector<Prediction> predictions(const MomentModel& model, const Eigen::VectorXd& p) {
    const Eigen::VectorXd values = p.size() == 0 ? start_point(model) : p;
    const auto& sets = model.molecule->mass_sets;
    std::vector<std::vector<double>> masses = {sets.front().masses};
    std::vector<int> numbers;
    for (std::size_t k = 0; k < sets.size(); ++k)
        if (!measured(model.species, sets[k].masses)) {
            masses.push_back(sets[k].masses);
            numbers.push_back(static_cast<int>(k) + 1);
        }
    if (numbers.empty())
        return {};
    const std::vector<ModelMoments> moments = model_moments(model, values, masses);
    const std::array<double, 3> parent_calculated = constants_of(moments.front());
    const Species* parent = nullptr;
    for (const Species& s : model.species)
        if (s.parent)
            parent = &s;
    std::vector<Prediction> result;
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        Prediction pred;
        pred.set = numbers[k];
        pred.title = sets[static_cast<std::size_t>(numbers[k]) - 1].title;
        pred.calculated = constants_of(moments[k + 1]);
        for (std::size_t g = 0; g < 3; ++g)
            if (parent && parent->constants[g] && parent_calculated[g] > 0)
                pred.scaled[g] = *parent->constants[g] * pred.calculated[g] / parent_calculated[g];
        result.push_back(pred);
    }
    return result;
}

} // namespace tessen::fit
