#include <atomic>
#include <condition_variable>

#include "liveview/manager/tests/ManagerFixture.h"
#include "platform/net/ListenSocket.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

using DvrManagerTest = ManagerFixture;

TEST_F(DvrManagerTest, DeleteMovesDevicesDownAndClearsTheWindowMap) {
    for (const char* name : {"a:1", "b:2", "c:3"}) {
        ASSERT_EQ(manager_->AddDvr(name, "", "u", "p", name), 1);
    }
    _DVR_SETTINGS_ settings;
    ASSERT_EQ(manager_->GetDvr(2, settings), 1);
    settings.auto_connect = 1;
    ASSERT_EQ(manager_->UpdateDvr(2, settings, RecordFolder()), 1);
    manager_->SetWindowChannel(4, 201);

    EXPECT_EQ(manager_->DeleteDvr(0), 1);
    EXPECT_EQ(manager_->GetDvrCount(), 2);
    ASSERT_EQ(manager_->GetDvr(1, settings), 1);
    EXPECT_EQ(settings.address, "c:3");
    EXPECT_EQ(settings.auto_connect, 1);
    EXPECT_EQ(manager_->GetDvr(2, settings), -1);
    EXPECT_EQ(manager_->GetWindowChannel(4), -1);
    EXPECT_EQ(manager_->DeleteDvr(2), -1);
    EXPECT_EQ(manager_->GetSavePath(), RecordFolder());
}

TEST_F(DvrManagerTest, TheStoreKeepsDevicesPasswordsDirectoryAndWindowMap) {
    ASSERT_EQ(manager_->AddDvr("10.0.0.1:6802", "6802", "admin", "pw", "Gate"), 1);
    _DVR_SETTINGS_ settings;
    manager_->GetDvr(0, settings);
    settings.channel_mask = 0x3;
    manager_->UpdateDvr(0, settings, RecordFolder());
    manager_->SetPasswords("1111", "2222", 1);
    manager_->SetWindowChannel(9, 3);
    EXPECT_EQ(manager_->Shutdown(), 1);

    NewManager();
    EXPECT_EQ(manager_->GetDvrCount(), 0);
    EXPECT_EQ(manager_->GetAdminPassword(), "470319");
    EXPECT_EQ(manager_->GetUserPassword(), "258604");
    ASSERT_EQ(manager_->LoadUserStore(), 1);
    ASSERT_EQ(manager_->GetDvrCount(), 1);
    manager_->GetDvr(0, settings);
    EXPECT_EQ(settings.user, "admin");
    EXPECT_EQ(settings.channel_mask, 0x3);
    EXPECT_EQ(manager_->GetAdminPassword(), "1111");
    EXPECT_EQ(manager_->GetUserPassword(), "2222");
    EXPECT_EQ(manager_->GetPasswordFlag(), 1);
    EXPECT_EQ(manager_->GetSavePath(), RecordFolder());
    EXPECT_EQ(manager_->GetWindowChannel(9), 3);
}

TEST_F(DvrManagerTest, NoStoreLoadsNothingAndAShortOneKeepsWhatCameBeforeTheCut) {
    EXPECT_EQ(manager_->LoadUserStore(), -1);
    EXPECT_EQ(manager_->GetDvrCount(), 0);

    ASSERT_EQ(manager_->AddDvr("10.0.0.1:6802", "6802", "admin", "pw", "Gate"), 1);
    _DVR_SETTINGS_ settings;
    manager_->GetDvr(0, settings);
    manager_->UpdateDvr(0, settings, RecordFolder());
    manager_->SetPasswords("1111", "2222", 1);
    EXPECT_EQ(manager_->Shutdown(), 1);
    std::filesystem::resize_file(StorePath(), 43053);  // cut inside the window map
    NewManager();
    EXPECT_EQ(manager_->LoadUserStore(), -1);
    // Every record lies whole before the cut: the device is taken, and the file as it was kept.
    EXPECT_EQ(manager_->GetDvrCount(), 1);
    EXPECT_EQ(manager_->GetSavePath(), RecordFolder());
    EXPECT_EQ(manager_->GetAdminPassword(), "1111");
    EXPECT_EQ(manager_->GetPasswordFlag(), 1);
    EXPECT_EQ(manager_->DamagedStoreCopy(), StorePath() + ".damaged");
    EXPECT_EQ(std::filesystem::file_size(manager_->DamagedStoreCopy()), 43053u);
}

TEST_F(DvrManagerTest, AStoreThatCanNotBeWrittenFailsTheShutdown) {
    ASSERT_EQ(manager_->AddDvr("10.0.0.1:6802", "6802", "admin", "pw", "Gate"), 1);
    std::filesystem::create_directory(StorePath());  // where the file should go
    EXPECT_EQ(manager_->Shutdown(), -1);
    EXPECT_EQ(manager_->Shutdown(), 1);  // once shut down, a second call has nothing to do
}

TEST_F(DvrManagerTest, BadSlotsAreRefused) {
    ASSERT_EQ(manager_->AddDvr("a:1", "", "", "", ""), 1);
    EXPECT_EQ(manager_->GetMachineInfo(1).nLinkState, 3);
    EXPECT_EQ(manager_->GetMachineInfo(-1).nLinkState, 3);
    EXPECT_EQ(manager_->GetMachineInfo(1).nTypeCode, 0);
    NET_MAC_SET_PARA para{};
    EXPECT_EQ(manager_->GetDvrMacPara(1, &para), -1);
    EXPECT_EQ(manager_->SetDvrMacPara(-1, &para), -1);
    EXPECT_EQ(manager_->RequestDiskInfo(5), -1);
    EXPECT_EQ(manager_->RequestLedInfo(64), -1);
    EXPECT_EQ(manager_->StartDvrNetwork(64), -1);
    EXPECT_EQ(manager_->ConnectDvr(1), -1);
    EXPECT_EQ(manager_->StartRecord(64), -1);
    EXPECT_EQ(manager_->SendPtzCommand(1, 7, 1, -1), 1);  // cell 7 shows nothing: nothing sent
}

TEST_F(DvrManagerTest, AddressesThatNameNoRecorderFailWithoutAMessage) {
    // No separator: -1. A short right part that is no port: a connect error, which the main
    // window words as "Connect error!".
    const struct {
        const char* address;
        int result;
    } cases[] = {{"192.168.1.9", -1},
                 {"127.0.0.1:abc", NetCtrl::kConnectError},
                 {"127.0.0.1:", NetCtrl::kConnectError},
                 {"127.0.0.1/0", NetCtrl::kConnectError},
                 {"127.0.0.1:99999", NetCtrl::kConnectError}};
    for (int a = 0; a < 5; ++a) {
        ASSERT_EQ(manager_->AddDvr(cases[a].address, "", "admin", "admin", ""), 1);
        ASSERT_EQ(manager_->StartDvrNetwork(a), 1);
        EXPECT_EQ(manager_->StartDvrNetwork(a), 1);
        EXPECT_EQ(manager_->ConnectDvr(a), cases[a].result) << cases[a].address;
    }
    EXPECT_TRUE(Messages().empty());
}

namespace {

// A recorder or lookup server that accepts and never answers: a call to it hangs until cut.
// Holds what it accepted, so each accepted connection is a call in flight.
class SilentPeer {
public:
    SilentPeer() { socket_.OpenLoopback(); }
    ~SilentPeer() {
        for (const int fd : accepted_)
            ::close(fd);
    }
    uint16_t Port() const { return socket_.Port(); }
    bool Accept() {
        const int fd = socket_.Accept(20000);
        if (fd >= 0) accepted_.push_back(fd);
        return fd >= 0;
    }

private:
    ListenSocket socket_;
    std::vector<int> accepted_;
};

// Far beyond any wait of a test: a call to a silent peer ends only when it is cut short.
constexpr int kNeverMs = 600000;

}  // namespace

TEST_F(DvrManagerTest, ShutdownEndsWithConnectThreadsInFlight) {
    options_.net_timeouts.connect_ms = kNeverMs;
    options_.net_timeouts.exchange_ms = kNeverMs;
    NewManager();
    SilentPeer silent;
    const std::string address = "127.0.0.1:" + std::to_string(silent.Port());
    for (int a = 0; a < 3; ++a) {
        ASSERT_EQ(manager_->AddDvr(address, "", "admin", "admin", ""), 1);
        ASSERT_EQ(manager_->StartDvrNetwork(a), 1);
    }
    std::atomic<int> returned{0};
    std::vector<std::thread> connects;
    for (int a = 0; a < 3; ++a) {
        connects.emplace_back([this, a, &returned] {
            EXPECT_LT(manager_->ConnectDvr(a), 0);
            ++returned;
        });
    }
    for (int a = 0; a < 3; ++a)
        ASSERT_TRUE(silent.Accept());
    EXPECT_EQ(returned.load(), 0);
    EXPECT_EQ(manager_->Shutdown(), 1);
    EXPECT_TRUE(PollUntil([&] { return returned.load() == 3; }));
    manager_.reset();
    for (std::thread& connect : connects)
        connect.join();
}

TEST_F(DvrManagerTest, ShutdownEndsWithALookupInFlightAndShowsNoMessage) {
    SilentPeer silent_lookup;
    options_.lookup_port = silent_lookup.Port();
    options_.lookup_timeouts = {kNeverMs, kNeverMs, kNeverMs};
    NewManager();
    ASSERT_EQ(manager_->AddDvr("127.0.0.1/FRONTDOOR", "", "admin", "admin", ""), 1);
    ASSERT_EQ(manager_->StartDvrNetwork(0), 1);
    std::atomic<bool> returned{false};
    std::thread connect([this, &returned] {
        EXPECT_EQ(manager_->ConnectDvr(0), -1);
        returned = true;
    });
    ASSERT_TRUE(silent_lookup.Accept());
    EXPECT_FALSE(returned.load());
    EXPECT_EQ(manager_->Shutdown(), 1);
    EXPECT_TRUE(PollUntil([&] { return returned.load(); }));
    manager_.reset();
    connect.join();
    EXPECT_TRUE(Messages().empty());
}

// A sink like the window's: it holds its caller until the window thread is free to show the
// message, and lets every caller go once the window has begun closing.
TEST_F(DvrManagerTest, ClosingWithAMessageWaitingInTheSinkEnds) {
    ListenSocket gone;  // a lookup server that is not there: the message comes at once
    gone.OpenLoopback();
    options_.lookup_port = gone.Port();
    gone.Close();
    NewManager();
    std::mutex mutex;
    std::condition_variable changed;
    bool closing = false;
    int shown = 0;
    manager_->SetMessageSink([&](const std::string&) {
        std::unique_lock lock(mutex);
        ++shown;
        changed.notify_all();
        changed.wait(lock, [&] { return closing; });
    });
    ASSERT_EQ(manager_->AddDvr("127.0.0.1/FRONTDOOR", "", "admin", "admin", ""), 1);
    ASSERT_EQ(manager_->StartDvrNetwork(0), 1);
    std::thread connect([this] { EXPECT_EQ(manager_->ConnectDvr(0), -1); });
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(20), [&] { return shown == 1; }));
        closing = true;
        changed.notify_all();
    }
    EXPECT_EQ(manager_->Shutdown(), 1);
    EXPECT_EQ(manager_->ConnectDvr(0), -1);  // closed: no log-in and no message
    manager_.reset();                        // waits for the connect thread
    connect.join();
    std::lock_guard lock(mutex);
    EXPECT_EQ(shown, 1);
}

TEST_F(DvrManagerTest, AFailedNetworkStartTakesEverySlotDownAndEachStartsAgain) {
    // Buffers come from the test: none once memory runs out (window thread only).
    bool out_of_memory = false;
    int buffers = 0;
    options_.allocate_buffer = [&](std::size_t size_bytes) -> std::unique_ptr<uint8_t[]> {
        if (out_of_memory) return nullptr;
        ++buffers;
        return std::make_unique<uint8_t[]>(size_bytes);
    };
    NewManager();
    RecorderEmulator emulator;
    std::string error;
    ASSERT_TRUE(emulator.Start({DefaultRecorderConfig(4, DayNumberOf({2026, 12, 9}))},
                               folder_ / "sandbox", &error))
        << error;
    const std::string address = "127.0.0.1:" + std::to_string(emulator.Port(0));
    for (int a = 0; a < 2; ++a)
        ASSERT_EQ(manager_->AddDvr(address, "", "admin", "admin", ""), 1);
    ASSERT_EQ(manager_->StartDvrNetwork(0), 1);
    ASSERT_GE(manager_->ConnectDvr(0), 0);
    EXPECT_EQ(buffers, 2);

    out_of_memory = true;
    EXPECT_EQ(manager_->StartDvrNetwork(1), -1);
    EXPECT_EQ(manager_->GetMachineInfo(0).nLinkState, 0);  // logged out with the rest

    out_of_memory = false;
    EXPECT_EQ(manager_->StartDvrNetwork(0), 1);
    EXPECT_EQ(buffers, 4);  // started anew
    EXPECT_GE(manager_->ConnectDvr(0), 0);
    EXPECT_EQ(manager_->Shutdown(), 1);
}
