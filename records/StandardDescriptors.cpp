#include "records/StandardDescriptors.hpp"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tessen {

namespace {

bool is_open(int fd) {
    return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

} // namespace

// The lowest free descriptor is the one that open() returns, so opening in order from 0
// fills exactly the closed ones. Where /dev/null itself cannot be opened there is nothing
// better to do than go on.
void open_standard_descriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (is_open(fd))
            continue;
        const int placeholder = ::open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
        if (placeholder >= 0 && placeholder != fd) {
            ::dup2(placeholder, fd);
            ::close(placeholder);
        }
    }
}

} // namespace tessen
