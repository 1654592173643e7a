#include "playback/core/login/LoginServers.h"

SavedServers ReadSavedServers(const CConfigFile& settings) {
    SavedServers saved;
    settings.GetRecentServers(saved.entries);
    for (int i = 0; i < CConfigFile::kRingSize; ++i) {
        const std::string& entry = saved.entries[i];
        if (entry.empty()) continue;
        const std::size_t colon = entry.rfind(':');
        if (colon == std::string::npos) {
            saved.users[i] = entry;
        } else {
            saved.servers[i] = entry.substr(0, colon);
            saved.users[i] = entry.substr(colon + 1);
        }
    }
    if (saved.entries[0].empty()) {
        saved.servers[0] = SavedServers::kDefaultServer;
        saved.users[0] = SavedServers::kDefaultUser;
    }
    return saved;
}

int FindSavedServer(const SavedServers& saved, const std::string& server) {
    for (int i = 0; i < CConfigFile::kRingSize; ++i) {
        if (saved.servers[i] == server) return i;
    }
    return -1;
}
