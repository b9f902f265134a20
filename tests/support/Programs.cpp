#include "support/Programs.hpp"

#include "support/Files.hpp"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace tessen::test {

namespace {

// In the child: the standard streams from and to the given files, then the program.
[[noreturn]] void exec_child(const std::vector<std::string>& argv, const fs::path& dir,
                             const fs::path& in, const fs::path& out, const fs::path& err) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int fds[3] = {::open(in.c_str(), O_RDONLY), ::open(out.c_str(), O_WRONLY | O_TRUNC),
                  ::open(err.c_str(), O_WRONLY | O_TRUNC)};
    for (int i = 0; i < 3; ++i)
        if (fds[i] < 0 || ::dup2(fds[i], i) < 0)
            ::_exit(127);
    if (::chdir(dir.c_str()) != 0)
        ::_exit(127);
    ::execvp(args[0], args.data());
    ::_exit(127);
}

} // namespace

// The standard streams go through files of a scratch folder of their own, so that the
// folder the program runs in holds only what the test put there.
ProgramRun run_program(const std::vector<std::string>& argv, const fs::path& dir,
                       const std::string& input) {
    ScratchDir io;
    write_file(io / "in", input);
    write_file(io / "out", "");
    write_file(io / "err", "");
    pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("cannot start " + argv.at(0));
    if (pid == 0)
        exec_child(argv, dir, io / "in", io / "out", io / "err");
    int wstatus = 0;
    while (::waitpid(pid, &wstatus, 0) < 0)
        if (errno != EINTR)
            throw std::runtime_error("lost " + argv.at(0));
    ProgramRun run;
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    run.out = read_file(io / "out");
    run.err = read_file(io / "err");
    return run;
}

std::string tessen_binary() {
    return TESSEN_BINARY;
}

std::string xyz_binary() {
    return TESSEN_XYZ_BINARY;
}

ProgramRun run_tessen(const fs::path& dir, const std::string& typed) {
    return run_program({tessen_binary()}, dir, typed);
}

ProgramRun run_xyz(const fs::path& dir, const std::vector<std::string>& args) {
    std::vector<std::string> argv = {xyz_binary()};
    argv.insert(argv.end(), args.begin(), args.end());
    return run_program(argv, dir);
}

bool has_program(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':'))
        if (!folder.empty() && ::access((fs::path(folder) / name).c_str(), X_OK) == 0)
            return true;
    return false;
}

} // namespace tessen::test
