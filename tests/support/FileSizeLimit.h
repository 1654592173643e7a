#pragma once

#include <sys/resource.h>

#include <csignal>

// While it lives, a file this process writes cannot grow past limit_bytes: writes beyond fail
// (EFBIG) as they would on a disk that filled up.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit_bytes) {
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_limit_);
        rlimit limit = old_limit_;
        limit.rlim_cur = limit_bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_limit_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_limit_{};
    void (*old_handler_)(int) = nullptr;
};
