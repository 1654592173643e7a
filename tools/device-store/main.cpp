// device-store: writes or lists the live view's device store (uss.dat), for the demo.
//   device-store write <uss.dat> ADDRESS,USER,PASSWORD,SHOW NAME[,auto][,audio] ...
//   device-store list <uss.dat>
#include <cstdio>
#include <cstring>
#include <string>

#include "liveview/core/store/UserStore.h"
#include "tools/device-store/DeviceSpec.h"

namespace {

int Usage() {
    std::fputs(
        "usage: device-store write <uss.dat> ADDRESS,USER,PASSWORD,SHOW NAME[,auto][,audio] ...\n"
        "       device-store list <uss.dat>\n",
        stderr);
    return 2;
}

int Write(const char* path, int count, char** specs) {
    UserStoreContent content;
    for (int i = 0; i < count; ++i) {
        std::string error;
        const auto settings = ParseDeviceSpec(specs[i], &error);
        if (!settings) {
            std::fprintf(stderr, "device-store: %s\n", error.c_str());
            return 1;
        }
        CDvrList& devices = content.devices;
        if (devices.AddDvr(settings->address, settings->port_text, settings->user,
                           settings->password, settings->show_name) < 0) {
            std::fprintf(stderr, "device-store: more than %d devices\n", CDvrList::kMaxDvrs);
            return 1;
        }
        devices.UpdateDvr(devices.GetDvrCount() - 1, *settings);
    }
    if (CUserStore(path).Save(content) < 0) {
        std::fprintf(stderr, "device-store: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

int List(const char* path) {
    UserStoreContent content;
    if (!IsLoaded(CUserStore(path).Load(content))) {
        std::fprintf(stderr, "device-store: no store in %s\n", path);
        return 1;
    }
    for (int a = 0; a < content.devices.GetDvrCount(); ++a) {
        const _DVR_SETTINGS_& d = content.devices.Entry(a).settings;
        std::printf("%d %s %s%s%s\n", a, d.show_name.c_str(), d.address.c_str(),
                    d.auto_connect == 1 ? " auto" : "", d.send_audio == 1 ? " audio" : "");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "write") == 0) return Write(argv[2], argc - 3, argv + 3);
    if (argc == 3 && std::strcmp(argv[1], "list") == 0) return List(argv[2]);
    return Usage();
}
