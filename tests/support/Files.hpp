#pragma once

#include <filesystem>
#include <string>

namespace tessen::test {

namespace fs = std::filesystem;

// A fresh empty folder under the system's temporary folder, removed with everything in it
// on destruction (write permission is given back first, for tests that take it away).
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

  private:
    fs::path path_;
};

// The bytes of a file; empty when it cannot be read.
std::string read_file(const fs::path& file);
// Replaces the file's bytes.
void write_file(const fs::path& file, const std::string& bytes);

// Folders of the project: the source tree, its tests/ folder, the build tree.
fs::path source_dir();
fs::path test_dir();
fs::path build_dir();

} // namespace tessen::test
