#pragma once

#include <string>

namespace tessen::companion {

// Standard input read to its end into a temporary file of its own, for a reader that takes
// only a file by name, or one it can go back in. The file is removed with this object.
// Raises CommandError (exit status 1) when standard input cannot be read or the copy
// cannot be written.
class StandardInputCopy {
  public:
    StandardInputCopy();
    ~StandardInputCopy();
    StandardInputCopy(const StandardInputCopy&) = delete;
    StandardInputCopy& operator=(const StandardInputCopy&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

} // namespace tessen::companion
