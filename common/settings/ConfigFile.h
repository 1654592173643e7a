#pragma once

#include <array>
#include <string>

// A program's settings file config/config.ini below its own folder, section ServerInfo: the
// interface language and a ring of the eight most recent server entries (ip0..ip7, with Cur_Id
// the slot the next new entry goes to). Every call reads or writes the file itself.
class CConfigFile {
public:
    static constexpr int kRingSize = 8;
    using ServerList = std::array<std::string, kRingSize>;

    CConfigFile();
    // Settings of the program whose folder is given (tests and tools).
    explicit CConfigFile(const std::string& program_folder);

    const std::string& Path() const { return path_; }

    std::string GetLanguage() const;
    int SetLanguage(const std::string& language) const;

    // Fills out newest first (slot Cur_Id - 1, then backwards, wrapping 0 to 7). Returns 0.
    int GetRecentServers(ServerList& out) const;
    // 0 when found (it becomes the newest, entries stay where they are), -1 when not.
    int FindServer(const std::string& text) const;
    // Records text as the newest entry. Returns 1.
    int AddServer(const std::string& text) const;

    // Keys of the format that no program uses yet: each reader gives the value or its default
    // (PlayCam 65535, SavePath the home folder, NetPicQulity 0, FrameRate 2, MaxChan 2); each
    // writer stores its value ("%d" for integers) and returns 1.
    int GetPlayCam() const;
    int SetPlayCam(int cameras) const;
    std::string GetSavePath() const;
    int SetSavePath(const std::string& folder) const;
    int GetNetPicQulity() const;
    int SetNetPicQulity(int quality) const;
    int GetFrameRate() const;
    int SetFrameRate(int rate) const;
    int GetMaxChan() const;
    int SetMaxChan(int channels) const;

private:
    // The ring pointer, 0 when absent or outside 0..8.
    int CurId() const;
    int ReadInt(const char* key, int default_value) const;
    void WriteInt(const char* key, int value) const;
    std::string ReadText(const std::string& key, const std::string& default_value) const;

    std::string path_;
};
