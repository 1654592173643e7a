#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the lookup-server program is told to serve:
//   lookup-server [--port PORT] [--bind ADDRESS] [NAME=ADDRESS:PORT]...
struct ServerCommandLine {
    struct Device {
        std::string name;
        std::string address;
        uint16_t port = 0;
    };

    uint16_t port = 10088;
    std::string bind_address = "0.0.0.0";
    std::vector<Device> devices;

    // Empty on success, else what is wrong with the arguments (argv[0] excluded).
    std::string Parse(const std::vector<std::string>& arguments);
};

constexpr const char* kServerUsage =
    "usage: lookup-server [--port PORT] [--bind ADDRESS] [NAME=ADDRESS:PORT]...\n"
    "Answers lookups of recorders by device name (default port 10088, all addresses).\n";
