#include "FuzzSupport.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace tessen::fuzz {

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "finding: %s\n", what);
        std::abort();
    }
}

InputFile::InputFile(std::string_view bytes, const std::string& name)
    : path_(std::filesystem::temp_directory_path() /
            ("tessen-fuzz-" + std::to_string(::getpid()) + "-" + name)) {
    std::ofstream file(path_, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    require(static_cast<bool>(file.flush()), "the input file cannot be written");
}

InputFile::~InputFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

} // namespace tessen::fuzz
