#include "support/Files.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tessen::test {

ScratchDir::ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "tessen-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a scratch folder");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string read_file(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void write_file(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

fs::path source_dir() {
    return TESSEN_SOURCE_DIR;
}

fs::path test_dir() {
    return source_dir() / "tests";
}

fs::path build_dir() {
    return TESSEN_BUILD_DIR;
}

} // namespace tessen::test
