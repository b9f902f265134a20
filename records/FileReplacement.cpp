#include "records/FileReplacement.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace tessen {

namespace {

// A plain, non-empty file with this one name (not reached through a link), the caller's.
bool may_replace(const struct stat& open_file, const std::string& name) {
    struct stat at_name {};
    return S_ISREG(open_file.st_mode) && open_file.st_size > 0 && open_file.st_nlink == 1 &&
           open_file.st_uid == geteuid() && lstat(name.c_str(), &at_name) == 0 &&
           at_name.st_dev == open_file.st_dev && at_name.st_ino == open_file.st_ino;
}

// A pattern for a new file in the same folder, hidden, so that the rename stays within
// one file system.
std::vector<char> temporary_pattern(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    const std::string pattern = folder + "." + base + ".XXXXXX";
    std::vector<char> text(pattern.begin(), pattern.end());
    text.push_back('\0');
    return text;
}

// The new file takes the old one's permissions and group (its owner is already the
// caller, as is the old one's).
bool take_attributes(int fresh, const struct stat& old_file) {
    struct stat st {};
    if (fstat(fresh, &st) != 0)
        return false;
    if (st.st_gid != old_file.st_gid && fchown(fresh, static_cast<uid_t>(-1), old_file.st_gid) != 0)
        return false;
    return fchmod(fresh, old_file.st_mode & 07777) == 0;
}

} // namespace

int replace_with_empty_file(int fd, const std::string& name) {
    struct stat old_file {};
    if (fstat(fd, &old_file) != 0 || !may_replace(old_file, name))
        return -1;
    std::vector<char> temporary = temporary_pattern(name);
    const int fresh = mkostemp(temporary.data(), O_CLOEXEC);
    if (fresh < 0)
        return -1;
    if (!take_attributes(fresh, old_file) || ::rename(temporary.data(), name.c_str()) != 0) {
        ::unlink(temporary.data());
        ::close(fresh);
        return -1;
    }
    return fresh;
}

DescriptorCloser::~DescriptorCloser() {
    if (thread_.joinable())
        thread_.join();
}

void DescriptorCloser::close(int fd) {
    if (closes_ == Closes::in_background && !thread_.joinable()) {
        try {
            thread_ = std::thread([fd] { ::close(fd); });
            return;
        } catch (const std::system_error&) {
            // No thread to be had: closed here instead.
        }
    }
    ::close(fd);
}

} // namespace tessen
