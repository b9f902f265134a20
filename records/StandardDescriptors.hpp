#pragma once

namespace tessen {

// Makes sure that descriptors 0, 1 and 2 are open, so that no file a program opens later
// lands on one of them (and its report, say, goes out with the program's messages). A
// descriptor found closed gets /dev/null opened the other way round: standard input for
// writing and standard output and error for reading, so that using the stream still fails
// (a program that writes to a closed standard output sees its write fail, with EBADF, as
// it would have without this), while a program that never uses it is not disturbed.
void open_standard_descriptors();

} // namespace tessen
