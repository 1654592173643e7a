#pragma once

#include <cstdint>
#include <string>

#include "liveview/core/store/DvrList.h"
#include "liveview/core/streaming/WindowMap.h"

// What the device store keeps across runs. A default object is the state of a first start.
struct UserStoreContent {
    CDvrList devices;
    std::string record_directory = DefaultRecordDirectory();
    std::string admin_password = "470319";
    std::string user_password = "258604";
    int32_t password_on = 0;  // 1 = the start-up password check is on
    CWindowMap::Keys window_map = CWindowMap::EmptyKeys();

    bool operator==(const UserStoreContent&) const = default;

    // The user's home folder: where recordings go until a directory is chosen.
    static std::string DefaultRecordDirectory();
};
