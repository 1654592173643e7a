#include "tests/support/realwindow/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kStartLimit_ms = 20000;

// The display number Xvfb writes once it accepts clients, or -1.
int ReadDisplayNumber(int fd) {
    std::string text;
    pollfd ready{fd, POLLIN, 0};
    while (::poll(&ready, 1, kStartLimit_ms) > 0) {
        char c = 0;
        if (::read(fd, &c, 1) != 1) break;
        if (c == '\n') return text.empty() ? -1 : std::stoi(text);
        if (c < '0' || c > '9') return -1;
        text += c;
    }
    return -1;
}

}  // namespace

XvfbServer::XvfbServer(int width_px, int height_px) {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return;
    const std::string screen = std::to_string(width_px) + "x" + std::to_string(height_px) + "x24";
    const std::string fd_text = std::to_string(pipe_fds[1]);
    std::vector<std::string> args = {"Xvfb", "-displayfd", fd_text, "-screen", "0",
                                     screen, "-nolisten",  "tcp",   "-noreset"};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_fds[1]);
    const int number = pid_ > 0 ? ReadDisplayNumber(pipe_fds[0]) : -1;
    ::close(pipe_fds[0]);
    if (number >= 0) display_ = ":" + std::to_string(number);
}

XvfbServer::~XvfbServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
}
