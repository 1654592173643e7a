#pragma once

#include <sys/types.h>

#include <string>

// A virtual X server of its own for one test, on a display number the server picks, so tests
// running side by side never share a screen. Stopped when the object goes.
class XvfbServer {
public:
    explicit XvfbServer(int width_px = 1280, int height_px = 1024);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool Ok() const { return !display_.empty(); }
    const std::string& Display() const { return display_; }  // ":N"

private:
    pid_t pid_ = -1;
    std::string display_;
};
