#include "rot/ReportAnalysis.hpp"

#include "report/ReportReader.hpp"
#include "rot/Kraitchman.hpp"

namespace tessen::rot {

namespace {

MoleculeAnalysis analyse_molecule(const report::Molecule& molecule, const std::string& name,
                                  ReportAnalysis& analysis) {
    MoleculeAnalysis m{name, molecule.number, molecule.title1, molecule.title2, {}};
    for (const report::MassBlock& block : molecule.blocks) {
        Isotopologue species = analyse_block(block);
        if (!has_moments(species))
            analysis.warnings.push_back(
                name + ": line " + std::to_string(block.line) + ": molecule " +
                std::to_string(molecule.number) + ", block " +
                std::to_string(m.isotopologues.size() + 1) + " (" + block.title +
                "): the principal moments are not all printed (asterisks); its values are "
                "null");
        if (!m.isotopologues.empty())
            species.substitution = kraitchman(m.isotopologues.front(), species);
        m.isotopologues.push_back(std::move(species));
        ++analysis.blocks;
    }
    return m;
}

} // namespace

ReportAnalysis analyse_report(ByteSource& source, const std::string& name) {
    ReportAnalysis analysis;
    report::ReportReader reader(source, name);
    while (std::optional<report::Molecule> molecule = reader.next_molecule())
        analysis.molecules.push_back(analyse_molecule(*molecule, name, analysis));
    for (const report::Problem& problem : reader.take_problems())
        analysis.warnings.push_back(name + ": " + problem.message());
    return analysis;
}

} // namespace tessen::rot
