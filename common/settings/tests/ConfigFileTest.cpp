#include "common/settings/ConfigFile.h"
#include "common/settings/tests/TempFolder.h"
#include "platform/profile/PrivateProfile.h"

namespace {

class ConfigFileTest : public TempFolderTest {
protected:
    CConfigFile Config() { return CConfigFile(folder_.string()); }
    int CurId() { return GetPrivateProfileInt("ServerInfo", "Cur_Id", -99, Config().Path()); }
    CConfigFile::ServerList List() {
        CConfigFile::ServerList list;
        EXPECT_EQ(Config().GetRecentServers(list), 0);
        return list;
    }
};

TEST_F(ConfigFileTest, AddWritesAfterTheCursorAndAFoundAddressOnlyMovesIt) {
    const CConfigFile config = Config();
    EXPECT_EQ(config.AddServer("X"), 1);
    config.AddServer("Y");
    config.AddServer("Z");
    EXPECT_EQ(CurId(), 3);
    EXPECT_EQ(List(), (CConfigFile::ServerList{"Z", "Y", "X", "", "", "", "", ""}));

    config.AddServer("X");  // found: only Cur_Id moves
    EXPECT_EQ(CurId(), 1);
    EXPECT_EQ(List(), (CConfigFile::ServerList{"X", "", "", "", "", "", "Z", "Y"}));

    config.AddServer("W");  // overwrites slot 1 (Y)
    EXPECT_EQ(CurId(), 2);
    EXPECT_EQ(List(), (CConfigFile::ServerList{"W", "X", "", "", "", "", "", "Z"}));
}

TEST_F(ConfigFileTest, RingWrapsAtEight) {
    WriteFile("config/config.ini", "[ServerInfo]\nCur_Id=8\nip7=newest\nip0=oldest\n");
    EXPECT_EQ(List()[0], "newest");
    Config().AddServer("next");
    EXPECT_EQ(CurId(), 1);
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "ip0", "", 260, Config().Path()), "next");
    EXPECT_EQ(List()[0], "next");
    EXPECT_EQ(List()[1], "newest");
}

TEST_F(ConfigFileTest, AbsentOrZeroCurIdReadsFromSlotSeven) {
    WriteFile("config/config.ini",
              "[ServerInfo]\nip0=a\nip1=b\nip2=c\nip3=d\nip4=e\nip5=f\nip6=g\nip7=h\n");
    EXPECT_EQ(List(), (CConfigFile::ServerList{"h", "g", "f", "e", "d", "c", "b", "a"}));
    WriteFile("config/config.ini", "[ServerInfo]\nCur_Id=0\nip7=h\nip0=a\n");
    EXPECT_EQ(List()[0], "h");
    EXPECT_EQ(List()[7], "a");
}

TEST_F(ConfigFileTest, FindRewritesCurIdAndComparesExactly) {
    const CConfigFile config = Config();
    config.AddServer("host:1");
    config.AddServer("host:2");
    EXPECT_EQ(config.FindServer("HOST:2"), -1);  // letter case matters
    EXPECT_EQ(CurId(), 2);
    WriteFile("config/config.ini", "[ServerInfo]\nCur_Id=2\nip1=host:2\nip0=host:1\n");
    EXPECT_EQ(config.FindServer("host:2"), 0);  // index 0 rewrites its own value
    EXPECT_EQ(CurId(), 2);
    EXPECT_EQ(config.FindServer("host:1"), 0);
    EXPECT_EQ(CurId(), 1);
    EXPECT_EQ(config.FindServer("absent"), -1);
    EXPECT_EQ(CurId(), 1);
}

TEST_F(ConfigFileTest, EmptyTextMatchesAnEmptySlotAndIsNeverStored) {
    const CConfigFile config = Config();
    config.AddServer("X");
    EXPECT_EQ(config.AddServer(""), 1);
    // "" is entry 1 of the list (slot 7): Cur_Id = 1 - 1 = 0, nothing written to a slot.
    EXPECT_EQ(CurId(), 0);
    EXPECT_EQ(List(), (CConfigFile::ServerList{"", "", "", "", "", "", "", "X"}));
}

// A hand-edited pointer outside the ring counts as absent: the list reads from slot 7 and the
// next entry goes to slot 0, where the list offers it first.
TEST_F(ConfigFileTest, CurIdOutsideTheRingCountsAsAbsent) {
    for (const char* cur_id : {"-5", "-1", "9", "12", "2147483647", "-2147483648"}) {
        SCOPED_TRACE(cur_id);
        WriteFile("config/config.ini",
                  std::string("[ServerInfo]\nCur_Id=") + cur_id + "\nip4=four\nip2=two\n");
        EXPECT_EQ(List(), (CConfigFile::ServerList{"", "", "", "four", "", "two", "", ""}));
        Config().AddServer("new");
        EXPECT_EQ(CurId(), 1);
        EXPECT_EQ(GetPrivateProfileString("ServerInfo", "ip0", "", 260, Config().Path()), "new");
        EXPECT_EQ(List()[0], "new");
    }
}

TEST_F(ConfigFileTest, LanguageDefaultsToEnglishAndKeepsOtherKeys) {
    WriteFile("config/config.ini", "[ServerInfo]\nPlayCam=3\nSavePath=/rec\n");
    const CConfigFile config = Config();
    EXPECT_EQ(config.GetLanguage(), "english");
    EXPECT_EQ(config.SetLanguage("chinese"), 1);
    config.AddServer("X");
    EXPECT_EQ(Config().GetLanguage(), "chinese");
    EXPECT_EQ(GetPrivateProfileInt("ServerInfo", "PlayCam", 0, Config().Path()), 3);
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "SavePath", "", 260, Config().Path()), "/rec");
}

TEST_F(ConfigFileTest, WritesIntoAMissingFolderAreLost) {
    std::filesystem::remove_all(folder_ / "config");
    EXPECT_EQ(Config().AddServer("X"), 1);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "config"));
    EXPECT_EQ(List()[0], "");
}

TEST_F(ConfigFileTest, ARefusedServerTextLeavesTheRingAsItWas) {
    const CConfigFile config = Config();
    config.AddServer("X");
    config.AddServer("Y");
    const std::string before = ReadFile("config/config.ini");
    EXPECT_EQ(config.AddServer("line\nbreak"), 1);
    EXPECT_EQ(ReadFile("config/config.ini"), before);
    EXPECT_EQ(List()[0], "Y");
}

TEST_F(ConfigFileTest, UnusedKeysReadTheirDefaultsAndStoreWhatIsWritten) {
    const CConfigFile config = Config();
    struct IntKey {
        const char* key;
        int (CConfigFile::*get)() const;
        int (CConfigFile::*set)(int) const;
        int default_value;
    };
    const IntKey keys[] = {
        {"PlayCam", &CConfigFile::GetPlayCam, &CConfigFile::SetPlayCam, 65535},
        {"NetPicQulity", &CConfigFile::GetNetPicQulity, &CConfigFile::SetNetPicQulity, 0},
        {"FrameRate", &CConfigFile::GetFrameRate, &CConfigFile::SetFrameRate, 2},
        {"MaxChan", &CConfigFile::GetMaxChan, &CConfigFile::SetMaxChan, 2},
    };
    for (const IntKey& k : keys) {
        EXPECT_EQ((config.*k.get)(), k.default_value) << k.key;
        EXPECT_EQ((config.*k.set)(-7), 1) << k.key;
        EXPECT_EQ(GetPrivateProfileString("ServerInfo", k.key, "", 260, config.Path()), "-7");
        EXPECT_EQ((config.*k.get)(), -7) << k.key;
    }
    setenv("HOME", "/home/operator", 1);
    EXPECT_EQ(config.GetSavePath(), "/home/operator");
    EXPECT_EQ(config.SetSavePath("/rec/a b"), 1);
    EXPECT_EQ(config.GetSavePath(), "/rec/a b");
}

}  // namespace
