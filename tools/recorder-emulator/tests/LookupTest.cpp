#include "common/lookup/LookupClient.h"
#include "tests/support/TestFolder.h"
#include "tools/lookup-server/LookupServer.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderEmulator.h"
#include "tools/recorder-emulator/tests/TestClient.h"

#include <gtest/gtest.h>

namespace {

TEST(EmulatorLookup, NamedRecordersAreFoundAndReachable) {
    RecorderConfig named = DefaultRecorderConfig(1, DayNumberOf({2009, 8, 28}));
    named.loop_frames = 2;
    named.name = "DVR0042";
    RecorderConfig unnamed = named;
    unnamed.name.clear();
    TestFolder folder;
    const auto sandbox = folder.Path();
    RecorderEmulator emulator;
    std::string error;
    ASSERT_TRUE(emulator.Start({unnamed, named}, sandbox, &error)) << error;
    ASSERT_TRUE(emulator.StartLookup(0, &error)) << error;
    ASSERT_NE(emulator.LookupPort(), 0);

    CLookupClient client(LookupTimeouts{2000, 2000, 2000});
    ASSERT_EQ(client.Lookup("127.0.0.1", emulator.LookupPort(), "DVR0042"), 1);
    EXPECT_EQ(client.Address(), "127.0.0.1");
    EXPECT_EQ(client.Port(), emulator.Port(1));
    TestClient recorder;
    ASSERT_TRUE(recorder.Connect(static_cast<uint16_t>(client.Port())));
    EXPECT_EQ(recorder.Login("admin", "admin"), 0);

    EXPECT_EQ(client.Lookup("127.0.0.1", emulator.LookupPort(), "DVR0043"), -1010);
    emulator.Lookup()->SetOffline("DVR0042", true);
    EXPECT_EQ(client.Lookup("127.0.0.1", emulator.LookupPort(), "DVR0042"), -1010);
    emulator.Stop();
}

}  // namespace
