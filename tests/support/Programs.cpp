#include "support/Programs.hpp"

#include "support/Files.hpp"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace tessen::test {

// The standard streams go through files of a scratch folder of their own, so that the
// folder the program runs in holds only what the test put there. The program is spawned
// without a copy of this process's memory, so what it measures of itself (peak memory)
// is its own.
ProgramRun run_program(const std::vector<std::string>& argv, const fs::path& dir,
                       const std::string& input, StandardOutput output) {
    ScratchDir io;
    write_file(io / "in", input);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, (io / "in").c_str(), O_RDONLY, 0);
    if (output == StandardOutput::closed)
        ::posix_spawn_file_actions_addclose(&actions, 1);
    else
        ::posix_spawn_file_actions_addopen(
            &actions, 1, output == StandardOutput::full ? "/dev/full" : (io / "out").c_str(),
            O_WRONLY | O_CREAT, 0600);
    ::posix_spawn_file_actions_addopen(&actions, 2, (io / "err").c_str(), O_WRONLY | O_CREAT, 0600);
    ::posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int failed = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ProgramRun run;
    if (failed != 0) {
        run.status = 127; // as a shell reports a program it cannot start
        return run;
    }
    int wstatus = 0;
    while (::waitpid(pid, &wstatus, 0) < 0)
        if (errno != EINTR)
            throw std::runtime_error("lost " + argv.at(0));
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

std::string check_binary() {
    return TESSEN_CHECK_BINARY;
}

std::string rot_binary() {
    return TESSEN_ROT_BINARY;
}

std::string deck_binary() {
    return TESSEN_DECK_BINARY;
}

std::string fit_binary() {
    return TESSEN_FIT_BINARY;
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
