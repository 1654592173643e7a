// What keeps the recorder link safe on the recorder's side: its own TLS key, kept across starts,
// and the growing wait after wrong passwords.
#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/EmulatorConfigFile.h"
#include "tools/recorder-emulator/RecorderEmulator.h"
#include "tools/recorder-emulator/tests/TestClient.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace {

const int64_t kDay = DayNumberOf({2009, 8, 28});

RecorderConfig OneChannel() {
    RecorderConfig config = DefaultRecorderConfig(1, kDay);
    config.loop_frames = 4;
    return config;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(RecorderKey, MadeAtFirstStartKeptPrivateAndReusedAfter) {
    TestFolder folder;
    const std::filesystem::path key = folder.Path() / "keys" / "recorder1.pem";
    std::string error;
    std::string first;
    {
        RecorderEmulator emulator;
        ASSERT_TRUE(emulator.Start({OneChannel()}, folder.Path(), &error)) << error;
        ASSERT_TRUE(std::filesystem::exists(key));
        first = ReadAll(key);
        EXPECT_NE(first.find("PRIVATE KEY"), std::string::npos);
        struct stat info {};
        ASSERT_EQ(::stat(key.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        TestClient client;
        ASSERT_TRUE(client.Connect(emulator.Port(0)));
        EXPECT_EQ(client.Login("admin", "admin"), 0);
    }
    RecorderEmulator again;
    ASSERT_TRUE(again.Start({OneChannel()}, folder.Path(), &error)) << error;
    EXPECT_EQ(ReadAll(key), first);
}

TEST(RecorderKey, AKeyFileWithoutAKeyStopsTheStartAndIsKept) {
    TestFolder folder;
    const std::filesystem::path key = folder.Path() / "mine.pem";
    std::ofstream(key) << "not a key";
    RecorderConfig config = OneChannel();
    config.key_file = key.string();
    RecorderEmulator emulator;
    std::string error;
    EXPECT_FALSE(emulator.Start({config}, folder.Path(), &error));
    EXPECT_NE(error.find(key.string()), std::string::npos) << error;
    EXPECT_EQ(ReadAll(key), "not a key");
}

TEST(RecorderKey, ConfigFileNamesTheKeyBesideIt) {
    TestFolder folder;
    const std::filesystem::path ini = folder.Path() / "emulator.ini";
    std::ofstream(ini) << "[emulator]\nrecorders = 2\n[recorder1]\nkey = keys/first.pem\n"
                          "[recorder2]\nkey = /var/keys/second.pem\n";
    std::string error;
    const auto setup = LoadEmulatorConfig(ini.string(), kDay, &error);
    ASSERT_TRUE(setup) << error;
    EXPECT_EQ(setup->recorders[0].key_file, (folder.Path() / "keys" / "first.pem").string());
    EXPECT_EQ(setup->recorders[1].key_file, "/var/keys/second.pem");
}

TEST(LoginPenalties, WaitsGrowPerAddressQueueUpAndClear) {
    constexpr int64_t kMs = 1000;
    LoginPenalties penalties;
    struct Step {
        const char* what;
        const char* address;
        int64_t now_ms;
        bool fail;        // the check after the turn fails
        int64_t turn_ms;  // when the log-in is checked
    };
    const Step steps[] = {
        {"first try is at once", "10.0.0.1", 0, true, 0},
        {"after 1 failure: 100 ms", "10.0.0.1", 10, true, 100},
        {"after 2: 200 ms", "10.0.0.1", 100, true, 300},
        {"after 3: 400 ms", "10.0.0.1", 300, true, 700},
        {"another address is not held", "10.0.0.2", 300, false, 300},
        {"after 4: 800 ms", "10.0.0.1", 700, true, 1500},
        {"after 5: 1600 ms", "10.0.0.1", 1500, true, 3100},
        {"after 6: 3200 ms", "10.0.0.1", 3100, true, 6300},
        {"never more than 4 s", "10.0.0.1", 6300, true, 10300},
        {"a right password waits its turn as well", "10.0.0.1", 10300, false, 14300},
        {"then the address is clear", "10.0.0.1", 14300, true, 14300},
        {"quiet for 15 minutes: forgotten", "10.0.0.1", 14300 + 15 * 60 * 1000 + 1, false,
         14300 + 15 * 60 * 1000 + 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        const int64_t turn_us = penalties.Turn(s.address, s.now_ms * kMs);
        EXPECT_EQ(turn_us, s.turn_ms * kMs);
        penalties.Record(s.address, s.fail, turn_us);
    }
    // Log-ins at once from one address queue one delay apart.
    LoginPenalties queue;
    queue.Record("10.0.0.3", true, 0);
    queue.Record("10.0.0.3", true, 0);  // 2 failures: 200 ms each
    EXPECT_EQ(queue.Turn("10.0.0.3", 0), 200 * kMs);
    EXPECT_EQ(queue.Turn("10.0.0.3", 0), 400 * kMs);
    EXPECT_EQ(queue.Turn("10.0.0.3", 0), 600 * kMs);
}

}  // namespace
