#include "liveview/core/store/UserStoreContent.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

std::string UserStoreContent::DefaultRecordDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return "/";
}
