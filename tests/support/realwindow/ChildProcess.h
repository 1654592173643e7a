#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// A program started as a process of its own, with extra environment variables; its standard
// output and error are collected. Stopped (SIGTERM, then SIGKILL) when the object goes.
class ChildProcess {
public:
    using Environment = std::vector<std::pair<std::string, std::string>>;

    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const Environment& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    bool Running();
    // The exit status (or 128 + signal) once the process ended within the limit.
    std::optional<int> WaitForExit(int limit_ms);
    std::string Output() const;
    // Waits until the output so far matches `pattern`; `groups` gets the whole match and its
    // groups.
    bool WaitForOutput(const std::regex& pattern, int limit_ms,
                       std::vector<std::string>* groups = nullptr);
    void Terminate();

private:
    void ReadOutput(int fd);
    bool Reap(int options);

    pid_t pid_ = -1;
    std::optional<int> exit_status_;
    mutable std::mutex mutex_;
    std::condition_variable output_changed_;
    std::string output_;
    bool output_closed_ = false;
    std::thread reader_;
};
