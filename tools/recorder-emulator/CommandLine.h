#pragma once

#include "tools/recorder-emulator/RecorderConfig.h"

#include <optional>
#include <string>
#include <vector>

// What the emulator program is asked to run.
struct EmulatorRun {
    std::vector<RecorderConfig> recorders;
    std::optional<uint16_t> lookup_port;
    std::string sandbox;
    bool help = false;
};

// Either --config FILE, or a number of alike recorders:
//   --recorders N --channels N --codec h264|mpeg4 --size 0|1|2 --base-port P (0 = any)
//   --lookup-port P --sandbox DIR --live-fps N (stream live at N frames per second whatever
//   the client asks; for measurements)
// Recorders made from options are named DVR0001, DVR0002, ... at the lookup server.
std::optional<EmulatorRun> ParseCommandLine(int argc, const char* const* argv, std::string* error);

const char* CommandLineUsage();
