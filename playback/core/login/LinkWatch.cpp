#include "playback/core/login/LinkWatch.h"

#include "platform/netctrl/NetCtrl.h"

_DVR_MACHINE_INFO_ CLinkWatch::Look(NetCtrl& connection, const std::function<void()>& report) {
    const _DVR_MACHINE_INFO_ info = connection.GetMachineInfe();
    if (info.nLinkState != kLinkLost) return info;
    if (armed_) {
        connection.ResetNetWork();
        // Disarmed before the report, which may wait for the operator while looks go on.
        armed_ = false;
        report();
    }
    connection.ResetNetWork();
    return info;
}
