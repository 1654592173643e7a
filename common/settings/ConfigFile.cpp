#include "common/settings/ConfigFile.h"

#include "platform/profile/HomeFolder.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/profile/ProgramFolder.h"

#include <string>

namespace {

constexpr const char* kSection = "ServerInfo";
constexpr std::size_t kValueBuffer = 260;  // values hold at most 259 bytes

std::string RingKey(int slot) { return "ip" + std::to_string(slot); }

}  // namespace

CConfigFile::CConfigFile() : CConfigFile(ProgramFolder()) {}

CConfigFile::CConfigFile(const std::string& program_folder)
    : path_(program_folder + "/config/config.ini") {}

std::string CConfigFile::GetLanguage() const { return ReadText("Language", "english"); }

int CConfigFile::SetLanguage(const std::string& language) const {
    WritePrivateProfileString(kSection, "Language", language, path_);
    return 1;
}

int CConfigFile::CurId() const {
    // A hand-edited pointer outside the ring would name slots that do not exist.
    const int n = ReadInt("Cur_Id", 0);
    return n >= 0 && n <= kRingSize ? n : 0;
}

int CConfigFile::GetRecentServers(ServerList& out) const {
    int n = CurId();
    for (int k = 0; k < kRingSize; ++k) {
        n = n - 1;
        if (n < 0) n = kRingSize - 1;
        out[static_cast<std::size_t>(k)] = ReadText(RingKey(n), "");
    }
    return 0;
}

int CConfigFile::FindServer(const std::string& text) const {
    ServerList list;
    GetRecentServers(list);
    for (int i = 0; i < kRingSize; ++i) {
        if (list[static_cast<std::size_t>(i)] != text) continue;
        int m = CurId() - i;
        if (m > kRingSize) m -= kRingSize;
        if (m < 0) m += kRingSize;
        WriteInt("Cur_Id", m);
        return 0;
    }
    return -1;
}

int CConfigFile::AddServer(const std::string& text) const {
    if (FindServer(text) == 0) return 1;
    int n = CurId();
    if (n + 1 > kRingSize) n = 0;
    // A refused text (a line break) leaves the pointer too, so no stale slot becomes the newest.
    if (WritePrivateProfileString(kSection, RingKey(n), text, path_)) WriteInt("Cur_Id", n + 1);
    return 1;
}

int CConfigFile::GetPlayCam() const { return ReadInt("PlayCam", 65535); }

int CConfigFile::SetPlayCam(int cameras) const {
    WriteInt("PlayCam", cameras);
    return 1;
}

std::string CConfigFile::GetSavePath() const { return ReadText("SavePath", HomeFolder()); }

int CConfigFile::SetSavePath(const std::string& folder) const {
    WritePrivateProfileString(kSection, "SavePath", folder, path_);
    return 1;
}

int CConfigFile::GetNetPicQulity() const { return ReadInt("NetPicQulity", 0); }

int CConfigFile::SetNetPicQulity(int quality) const {
    WriteInt("NetPicQulity", quality);
    return 1;
}

int CConfigFile::GetFrameRate() const { return ReadInt("FrameRate", 2); }

int CConfigFile::SetFrameRate(int rate) const {
    WriteInt("FrameRate", rate);
    return 1;
}

int CConfigFile::GetMaxChan() const { return ReadInt("MaxChan", 2); }

int CConfigFile::SetMaxChan(int channels) const {
    WriteInt("MaxChan", channels);
    return 1;
}

int CConfigFile::ReadInt(const char* key, int default_value) const {
    return GetPrivateProfileInt(kSection, key, default_value, path_);
}

void CConfigFile::WriteInt(const char* key, int value) const {
    WritePrivateProfileString(kSection, key, std::to_string(value), path_);
}

std::string CConfigFile::ReadText(const std::string& key, const std::string& default_value) const {
    return GetPrivateProfileString(kSection, key, default_value, kValueBuffer, path_);
}
