#pragma once

#include <functional>

#include "platform/records/DvrMachineInfo.h"

class NetCtrl;

// The 300 ms look at the recorder's link. A lost link is reported once per log-in: a
// successful log-in arms the report, log-out disarms it, and while the link stays lost the
// connection is reset on every look.
class CLinkWatch {
public:
    void Arm() { armed_ = true; }
    void Disarm() { armed_ = false; }
    bool Armed() const { return armed_; }

    // Reads the state record; on a lost link resets the connection, calling report first
    // when armed. Returns the record as read.
    _DVR_MACHINE_INFO_ Look(NetCtrl& connection, const std::function<void()>& report);

private:
    bool armed_ = false;
};
