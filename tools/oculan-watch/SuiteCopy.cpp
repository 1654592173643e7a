#include "tools/oculan-watch/SuiteCopy.h"

#include <system_error>

#include "liveview/core/store/UserStore.h"
#include "tools/device-store/DeviceSpec.h"

namespace fs = std::filesystem;

fs::path CopyInstalledOculan(const fs::path& installed_client_folder, const fs::path& folder) {
    const fs::path client = folder / "ClientSoftware";
    std::error_code error;
    fs::create_directories(client, error);
    for (const char* part : {"Oculan", "config", "language", "skin1", "res"}) {
        fs::copy(installed_client_folder / part, client / part,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
        if (error) return {};
    }
    return client / "Oculan";
}

bool WriteDeviceStore(const fs::path& folder, const std::vector<std::string>& devices) {
    UserStoreContent content;
    for (const std::string& spec : devices) {
        std::string error;
        const auto settings = ParseDeviceSpec(spec, &error);
        if (!settings || content.devices.AddDvr(settings->address, "", settings->user,
                                                settings->password, settings->show_name) < 0) {
            return false;
        }
        content.devices.UpdateDvr(content.devices.GetDvrCount() - 1, *settings);
    }
    return CUserStore((folder / "uss.dat").string()).Save(content) == 1;
}
