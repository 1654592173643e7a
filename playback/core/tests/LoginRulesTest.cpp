// The log-in dialog's rules that need no recorder: the server text, the ring's offer and the
// checks of the entries.
#include <gtest/gtest.h>

#include "common/lookup/LookupClient.h"
#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"
#include "playback/core/login/LoginServers.h"
#include "playback/core/login/LoginTarget.h"
#include "playback/core/login/PlaybackLogin.h"
#include "tests/support/TestFolder.h"

TEST(LoginRules, ServerTextSplitsAtTheStrongestSeparator) {
    struct Case {
        const char* text;
        const char* host;
        const char* target;
        bool by_name;
        int port;
    };
    const Case cases[] = {
        {"192.168.1.20:6802", "192.168.1.20", "6802", false, 6802},
        {"192.168.1.20:12345", "192.168.1.20", "12345", false, 12345},
        {"192.168.1.20:ab1234", "192.168.1.20", "AB1234", true, 0},
        {"192.168.1.20/rec001:77", "192.168.1.20", "REC001:77", true, 0},
        {"host\\dvr:0001", "host", "DVR:0001", true, 0},
        {"a/b/c:9", "a/b", "C:9", false, 0},
        {"6802", "", "6802", false, 6802},
        {"lookup.example:", "lookup.example", "", false, 0},
    };
    for (const Case& c : cases) {
        const LoginTarget split = SplitServerText(c.text);
        EXPECT_EQ(split.host, c.host) << c.text;
        EXPECT_EQ(split.target, c.target) << c.text;
        EXPECT_EQ(split.ByDeviceName(), c.by_name) << c.text;
        if (!c.by_name) {
            EXPECT_EQ(split.Port(), c.port) << c.text;
        }
    }

    const std::pair<const char*, bool> hosts[] = {
        {"192.168.1.20", false},
        {"12345678.example", false},
        {"1234567x", true},
        {"lookup", true},
        {"", false},
    };
    for (auto [host, resolve] : hosts)
        EXPECT_EQ(HostNeedsResolve(host), resolve) << host;
}

TEST(LoginRules, TheRingOffersServersNewestFirstWithTheirUsers) {
    TestFolder folder;
    std::filesystem::create_directories(folder.Path() / "config");
    const CConfigFile settings(folder.Path().string());
    SavedServers saved = ReadSavedServers(settings);
    EXPECT_EQ(saved.servers[0], SavedServers::kDefaultServer);
    EXPECT_EQ(saved.users[0], "ADMIN0");
    EXPECT_EQ(saved.servers[1], "");

    for (const char* entry : {"10.0.0.1:6802:admin", "lonely", "dvr.example/DVR0001:root"}) {
        settings.AddServer(entry);
    }
    saved = ReadSavedServers(settings);
    EXPECT_EQ(saved.entries[0], "dvr.example/DVR0001:root");
    EXPECT_EQ(saved.servers[0], "dvr.example/DVR0001");
    EXPECT_EQ(saved.users[0], "root");
    EXPECT_EQ(saved.servers[1], "");  // no ':' at all: the whole entry is the user
    EXPECT_EQ(saved.users[1], "lonely");
    EXPECT_EQ(saved.servers[2], "10.0.0.1:6802");
    EXPECT_EQ(saved.users[2], "admin");
    EXPECT_EQ(FindSavedServer(saved, "10.0.0.1:6802"), 2);
    EXPECT_EQ(FindSavedServer(saved, "10.0.0.1:6803"), -1);
}

TEST(LoginRules, EntriesAreCheckedBeforeAnythingIsAsked) {
    TestFolder folder;
    const CConfigFile settings(folder.Path().string());
    LanguageSelect texts;
    texts.Load(folder.Path().string(), "language/english.txt");  // defaults: no file
    CLookupClient lookup;
    CPlaybackLogin login(settings, lookup);

    struct Case {
        const char* user;
        const char* password;
        std::string message;
    };
    const Case cases[] = {
        {"admin77", "admin", texts.Text("word6")},
        {"admin", "1234567", texts.Text("word6")},
        {"", "admin", "The user and the password can not be empty space"},
        {"admin", "", "The user and the password can not be empty space"},
        {"admin", "admin", "Net Error!"},  // no connection was handed over
    };
    for (const Case& c : cases) {
        const LoginOutcome outcome = login.Confirm(texts, c.user, c.password, "127.0.0.1:1");
        EXPECT_FALSE(outcome.accepted);
        EXPECT_EQ(outcome.message, c.message) << c.user << "/" << c.password;
    }
    CConfigFile::ServerList ring;
    settings.GetRecentServers(ring);
    EXPECT_EQ(ring[0], "");
}
