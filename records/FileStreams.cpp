#include "records/FileStreams.hpp"

#include "records/Diagnostic.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tessen {

namespace {

std::string reason() {
    return std::strerror(errno);
}

// A name holding a NUL byte names no file: the system would read it only up to the NUL.
void check_name(const std::string& name) {
    if (name.find('\0') != std::string::npos)
        throw RunError(ErrorKind::open_failed, "the name holds a NUL character", FileOp::open,
                       name);
}

bool is_folder(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

bool same_file(int fd, const std::string& name) {
    struct stat a {};
    struct stat b {};
    return fstat(fd, &a) == 0 && stat(name.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

} // namespace

std::size_t DescriptorSource::read(char* dst, std::size_t n) {
    while (true) {
        ssize_t got = ::read(fd_, dst, n);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            throw RunError(ErrorKind::read_failed, reason(), FileOp::read, name_);
    }
}

void DescriptorSink::write(const char* src, std::size_t n) {
    while (n > 0) {
        ssize_t put = ::write(fd_, src, n);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            throw RunError(ErrorKind::write_failed, put < 0 ? reason() : "nothing written",
                           FileOp::write, name_);
        src += put;
        n -= static_cast<std::size_t>(put);
    }
}

// A folder opens for reading but cannot be read: it is refused here, at the open, so
// that no report is created for it.
FileSource::FileSource(const std::string& name) : DescriptorSource(-1, name) {
    check_name(name);
    do {
        fd_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        throw RunError(ErrorKind::open_failed, reason(), FileOp::open, name);
    if (is_folder(fd_)) {
        ::close(fd_);
        fd_ = -1;
        throw RunError(ErrorKind::open_failed, std::strerror(EISDIR), FileOp::open, name);
    }
}

FileSource::~FileSource() {
    if (fd_ >= 0)
        ::close(fd_);
}

FileSink::FileSink(const std::string& name, const DescriptorSource& input,
                   const std::string& input_name, DescriptorCloser::Closes closes)
    : DescriptorSink(-1, name), old_file_(closes) {
    check_name(name);
    if (name == input_name || same_file(input.descriptor(), name))
        throw RunError(ErrorKind::report_is_input, {}, FileOp::open, name);
    do {
        fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        throw RunError(ErrorKind::open_failed, reason(), FileOp::open, name);
}

FileSink::~FileSink() {
    if (fd_ >= 0)
        ::close(fd_);
}

// The first write replaces an older report completely. A device (say /dev/null) cannot
// be emptied and needs no emptying, nor does an empty file: cutting one would only make
// the file system write the whole new report out at the close.
void FileSink::empty_once() {
    if (emptied_)
        return;
    emptied_ = true;
    struct stat st {};
    if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0)
        return;
    const int fresh = replace_with_empty_file(fd_, name_);
    if (fresh >= 0) {
        old_file_.close(std::exchange(fd_, fresh));
        return;
    }
    if (::ftruncate(fd_, 0) != 0)
        throw RunError(ErrorKind::write_failed, reason(), FileOp::write, name_);
}

void FileSink::write(const char* src, std::size_t n) {
    empty_once();
    DescriptorSink::write(src, n);
}

} // namespace tessen
