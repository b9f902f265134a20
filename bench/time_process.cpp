// time_process: runs one program to its end and prints how long it took and how much
// memory it held at its peak, for bench/run_bench.py.
//
//   time_process [--cwd DIR] [--stdin TEXT] -- PROGRAM [ARG ...]
//
// Prints one line: wall seconds, exit status (128 + signal for a killed program), peak
// resident memory in KiB, CPU seconds (user and system). The program's standard output and error go
// to /dev/null; TEXT (a C escape \n is understood) is its standard input, which is closed after it.
//
// The peak comes from wait4 on the child. The kernel counts the child's memory from the
// fork on, so the timer is kept small (no iostreams): a large parent, such as a Python
// interpreter forking directly, would show up as the child's peak.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Options {
    const char* cwd = nullptr;
    std::string input;
    bool has_input = false;
    char** argv = nullptr;
};

[[noreturn]] void usage() {
    std::fputs("usage: time_process [--cwd DIR] [--stdin TEXT] -- PROGRAM [ARG ...]\n", stderr);
    std::exit(2);
}

std::string unescape(const char* text) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            out += '\n';
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

Options parse(int argc, char** argv) {
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--")
            break;
        if (i + 1 >= argc)
            usage();
        if (arg == "--cwd") {
            options.cwd = argv[++i];
        } else if (arg == "--stdin") {
            options.input = unescape(argv[++i]);
            options.has_input = true;
        } else {
            usage();
        }
    }
    if (i + 1 >= argc)
        usage();
    options.argv = argv + i + 1;
    return options;
}

double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "time_process: %s: %s\n", what, std::strerror(errno));
    std::exit(2);
}

// The child's side: standard input from the pipe, output to /dev/null, then the program.
[[noreturn]] void exec_child(const Options& options, int input_fd) {
    const int null_fd = open("/dev/null", O_WRONLY);
    if (null_fd < 0 || dup2(null_fd, STDOUT_FILENO) < 0 || dup2(null_fd, STDERR_FILENO) < 0)
        _exit(127);
    if (input_fd >= 0 && dup2(input_fd, STDIN_FILENO) < 0)
        _exit(127);
    if (options.cwd != nullptr && chdir(options.cwd) != 0)
        _exit(127);
    execvp(options.argv[0], options.argv);
    _exit(127);
}

// A pipe already holding the text (short enough for the pipe's buffer), write end closed.
int input_pipe(const std::string& text) {
    int fds[2];
    if (pipe(fds) != 0)
        fail("pipe");
    if (write(fds[1], text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        fail("write");
    close(fds[1]);
    return fds[0];
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    const int input_fd = options.has_input ? input_pipe(options.input) : -1;
    const double start = now();
    const pid_t pid = fork();
    if (pid < 0)
        fail("fork");
    if (pid == 0)
        exec_child(options, input_fd);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            fail("wait4");
    }
    const double wall = now() - start;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const double cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    std::printf("%.6f %d %ld %.6f\n", wall, code, usage.ru_maxrss, cpu);
    return 0;
}
