#include "tests/support/realwindow/ChildProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

extern char** environ;

namespace {

constexpr int kGrace_ms = 5000;

std::vector<std::string> MergedEnvironment(const ChildProcess::Environment& extra) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const auto& [key, value] : extra)
            replaced = replaced || key == name;
        if (!replaced) merged.push_back(text);
    }
    for (const auto& [key, value] : extra)
        merged.push_back(key + "=" + value);
    return merged;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const Environment& environment) {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return;
    std::vector<std::string> argv_text = {program};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<std::string> env_text = MergedEnvironment(environment);
    std::vector<char*> argv;
    for (std::string& arg : argv_text)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : env_text)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_fds[1]);
    reader_ = std::thread([this, fd = pipe_fds[0]] { ReadOutput(fd); });
}

ChildProcess::~ChildProcess() {
    Terminate();
    if (reader_.joinable()) reader_.join();
}

void ChildProcess::ReadOutput(int fd) {
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof(buffer))) > 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        output_.append(buffer, static_cast<std::size_t>(got));
        output_changed_.notify_all();
    }
    ::close(fd);
    std::lock_guard<std::mutex> lock(mutex_);
    output_closed_ = true;
    output_changed_.notify_all();
}

bool ChildProcess::Reap(int options) {
    if (pid_ <= 0 || exit_status_) return true;
    int status = 0;
    if (::waitpid(pid_, &status, options) != pid_) return false;
    exit_status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

bool ChildProcess::Running() { return pid_ > 0 && !Reap(WNOHANG); }

std::optional<int> ChildProcess::WaitForExit(int limit_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
    while (!Reap(WNOHANG)) {
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        // The exit closes the output: wait on that rather than spin.
        std::unique_lock<std::mutex> lock(mutex_);
        output_changed_.wait_for(lock, std::chrono::milliseconds(20));
    }
    return exit_status_;
}

std::string ChildProcess::Output() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return output_;
}

bool ChildProcess::WaitForOutput(const std::regex& pattern, int limit_ms,
                                 std::vector<std::string>* groups) {
    std::unique_lock<std::mutex> lock(mutex_);
    std::smatch found;
    output_changed_.wait_for(lock, std::chrono::milliseconds(limit_ms), [&] {
        return std::regex_search(output_, found, pattern) || output_closed_;
    });
    if (!std::regex_search(output_, found, pattern)) return false;
    if (groups != nullptr) groups->assign(found.begin(), found.end());
    return true;
}

void ChildProcess::Terminate() {
    if (pid_ <= 0 || exit_status_) return;
    ::kill(pid_, SIGTERM);
    if (!WaitForExit(kGrace_ms)) {
        ::kill(pid_, SIGKILL);
        Reap(0);
    }
}
