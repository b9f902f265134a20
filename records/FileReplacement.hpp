#pragma once

#include <string>
#include <thread>

namespace tessen {

// Puts a new, empty file in the place of the file open as fd under name, as one rename,
// so that the name always holds either the old file or the new one. This is how an older
// report is emptied: cutting a large file in place makes the file system free its pages
// at once and write them all out at the close, which costs more than the report itself.
// The new file has the old one's permissions, owner and group.
//
// Only a plain file with one name, the caller's own, is replaced, and only when the
// folder lets a file be made beside it; otherwise (a link, a device, another owner, a
// folder that cannot be written) this returns -1 and the file is to be cut in place.
// fd stays open either way.
int replace_with_empty_file(int fd, const std::string& name);

// Closes descriptors of files whose last name is gone. The file system frees such a
// file's pages at its close, which takes a while for a large report: with
// Closes::in_background that happens in a thread of its own (in this thread if none can
// be started), joined when this object goes.
class DescriptorCloser {
  public:
    enum class Closes { in_this_thread, in_background };

    explicit DescriptorCloser(Closes closes) : closes_(closes) {}
    DescriptorCloser(const DescriptorCloser&) = delete;
    DescriptorCloser& operator=(const DescriptorCloser&) = delete;
    ~DescriptorCloser();

    void close(int fd);

  private:
    Closes closes_;
    std::thread thread_;
};

} // namespace tessen
