// The log-in's confirm step against the recorder emulator and its lookup server.
#include <gtest/gtest.h>

#include "common/lookup/LookupClient.h"
#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"
#include "playback/core/login/LoginServers.h"
#include "playback/core/login/PlaybackLogin.h"
#include "playback/core/tests/PlaybackEmulator.h"

namespace {

class PlaybackLoginTest : public PlaybackEmulator {
protected:
    PlaybackLoginTest() : settings_(folder_.Path().string()), login_(settings_, lookup_) {
        texts_.Load(folder_.Path().string(), "language/english.txt");
        connection_.InitNetWork();
        login_.SetNetCtrl(&connection_);
    }
    std::string Text(const char* key) const { return texts_.Text(key); }
    std::string NewestEntry() const { return ReadSavedServers(settings_).entries[0]; }
    int LinkState() { return connection_.GetMachineInfe().nLinkState; }

    const CConfigFile settings_;
    LanguageSelect texts_;
    CLookupClient lookup_{LookupTimeouts{1000, 1000, 1000}};
    NetCtrl connection_;
    CPlaybackLogin login_;
};

}  // namespace

TEST_F(PlaybackLoginTest, DirectAndByDeviceNameAndTheRingNewestFirst) {
    RecorderConfig named = Recorder(4);
    named.name = "REC001";
    Start({named, Recorder(16)}, true);
    login_.SetLookupPort(emulator_.LookupPort());

    LoginOutcome outcome = login_.Confirm(texts_, "admin", "admin", Server(1));
    EXPECT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(LinkState(), kLinkLoggedIn);
    EXPECT_EQ(connection_.GetMachineInfe().nTypeCode, 1016);
    EXPECT_EQ(login_.Host(), "127.0.0.1");
    connection_.DisConnect();

    // By name, through the lookup server given by a name of its own: the recorder's name is
    // what was logged in to.
    outcome = login_.Confirm(texts_, "admin", "admin", "localhost:rec001");
    EXPECT_TRUE(outcome.accepted) << outcome.message;
    EXPECT_EQ(connection_.GetMachineInfe().nTypeCode, 1004);
    EXPECT_EQ(login_.Host(), "REC001");
    connection_.DisConnect();

    EXPECT_EQ(login_.Confirm(texts_, "admin", "admin", "127.0.0.1:NOSUCH").message,
              "Dvr is not online!\n");
    emulator_.Lookup()->SetRefuseAll(true);
    EXPECT_EQ(login_.Confirm(texts_, "admin", "admin", "127.0.0.1:rec001").message,
              "Can't connect server!\n");

    const CConfigFile::ServerList expected = {"localhost:rec001:admin", Server(1) + ":admin"};
    CConfigFile::ServerList ring;
    settings_.GetRecentServers(ring);
    EXPECT_EQ(ring, expected);
}

TEST_F(PlaybackLoginTest, RefusalsWordTheirReason) {
    RecorderConfig no_disk = Recorder(4);
    no_disk.disk_count = 0;
    Start({Recorder(4), no_disk});

    const std::string server = Server(0);
    LoginOutcome outcome = login_.Confirm(texts_, "admin", "wrong", server);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.message, "127.0.0.1: " + Text("word5") + "\n");
    EXPECT_EQ(NewestEntry(), "");

    // An ordinary user logs in, is saved and logged out again.
    outcome = login_.Confirm(texts_, "guest", "guest", server);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.message, "Please using superuser login.");
    EXPECT_EQ(NewestEntry(), server + ":guest");
    EXPECT_EQ(LinkState(), kLinkIdle);
    EXPECT_TRUE(PollUntil([&] { return emulator_.LoggedInUsers(0).empty(); }));

    // The super user of a recorder without a disk: logged out, yet the dialog ends with OK.
    outcome = login_.Confirm(texts_, "admin", "admin", Server(1));
    EXPECT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.message, "DVR not have disk");
    EXPECT_EQ(LinkState(), kLinkIdle);

    const uint16_t gone = emulator_.Port(0);
    emulator_.Stop();
    outcome = login_.Confirm(texts_, "admin", "admin", "127.0.0.1:" + std::to_string(gone));
    EXPECT_EQ(outcome.message, "127.0.0.1: Connect error!\n");
}
