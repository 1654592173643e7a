#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// A stand-in for a program the launcher starts: it writes its argument count and arguments,
// one a line, to <program>.started.
inline void WriteStandInProgram(const std::filesystem::path& program) {
    std::ofstream(program) << "#!/bin/sh\n"
                              "printf '%s\\n' \"$#\" \"$@\" > \"$0.part\" && "
                              "mv \"$0.part\" \"$0.started\"\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}

// What the stand-in wrote; empty while it has not started.
inline std::string StandInRecord(const std::filesystem::path& program) {
    std::ifstream file(program.string() + ".started");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
