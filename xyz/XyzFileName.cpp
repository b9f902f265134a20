#include "xyz/XyzFileName.hpp"

#include <filesystem>

namespace tessen::xyz {

namespace {

bool is_name_character(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

} // namespace

std::string report_stem(const std::string& report_path) {
    return std::filesystem::path(report_path).stem().string();
}

std::string species_name(const std::string& title) {
    std::string name;
    bool gap = false; // a run of other characters since the last one kept
    for (char c : title) {
        if (!is_name_character(c)) {
            gap = true;
            continue;
        }
        std::string next = gap && !name.empty() ? std::string{'_', c} : std::string{c};
        if (name.size() + next.size() > kSpeciesNameLength)
            break;
        name += next;
        gap = false;
    }
    return name;
}

std::string xyz_file_name(const std::string& stem, const CoordinateSet& set) {
    std::string name = stem + "_" + std::to_string(set.molecule);
    if (set.block == 0)
        return name + "_input.xyz";
    name += "_principal_" + std::to_string(set.block);
    std::string species = species_name(set.subtitle);
    return name + (species.empty() ? "" : "_" + species) + ".xyz";
}

} // namespace tessen::xyz
