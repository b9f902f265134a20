#include "xyz/XyzFileName.hpp"

#include <filesystem>

namespace tessen::xyz {

std::string report_stem(const std::string& report_path) {
    return std::filesystem::path(report_path).stem().string();
}

std::string xyz_file_name(const std::string& stem, const CoordinateSet& set) {
    std::string name = stem + "_" + std::to_string(set.molecule);
    if (set.block == 0)
        return name + "_input.xyz";
    return name + "_principal_" + std::to_string(set.block) + ".xyz";
}

} // namespace tessen::xyz
