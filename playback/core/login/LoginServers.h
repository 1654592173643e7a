#pragma once

#include <string>

#include "common/settings/ConfigFile.h"

// The log-in dialog's offer from the settings' ring of recent servers: each entry is the
// server text, a colon and the user, newest first.
struct SavedServers {
    static constexpr const char* kDefaultServer = "192.168.1.100:6802";
    static constexpr const char* kDefaultUser = "ADMIN0";

    CConfigFile::ServerList entries;
    CConfigFile::ServerList servers;  // text before the entry's last ':'
    CConfigFile::ServerList users;    // text after it
};

// Reads the ring. With nothing saved, slot 0 proposes the default server and user.
SavedServers ReadSavedServers(const CConfigFile& settings);

// The first slot whose server is exactly server, -1 when none.
int FindSavedServer(const SavedServers& saved, const std::string& server);
