// The recorder link as an attacker on the LAN meets it: a passive listener, a relay that ends
// TLS on both sides, a peer that does not know the password, password guessing; and a slow
// link on which a stop must wait behind stream data without being taken for a dead link.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/netctrl/tests/EmulatorFixture.h"
#include "platform/netctrl/tests/LinkRelays.h"
#include "platform/netctrl/tests/ScriptedRecorder.h"

using namespace netproto;

namespace {

bool Contains(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

std::vector<uint8_t> BytesOf(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

class SecureLink : public EmulatorFixture {};

TEST_F(SecureLink, PassiveCaptureHoldsNoPlaintextOfTheProtocol) {
    Start({SmallRecorder(2)});
    ByteRelay tap(emulator_.Port(0), {});
    const std::filesystem::path local = test_folder_.Path() / "update.sh";
    std::ofstream(local) << "upload-secret-0123456789";

    NetCtrl net(AnsweringTimeouts());
    net.InitNetWork();
    ASSERT_EQ(net.ConnectToServer("127.0.0.1", tap.Port(), "admin", "admin"), 0);
    ASSERT_EQ(net.NetLocalViewPlay(0x3, 1), 0);
    std::vector<char> head(36);
    std::vector<char> data(kMaxFramePayloadBytes);
    ASSERT_EQ(net.WaitForPicBuf(10000), 1);
    const int size = net.GetRawPicBuf(head.data(), data.data());
    ASSERT_GE(size, 32);
    ASSERT_EQ(net.StopNetLocalView(), 1);
    ASSERT_EQ(net.ExecuteShell("echo shell-secret-9876"), 0);
    ASSERT_EQ(net.NetSendUpdateFile(local.c_str(), "/mnt/mtd/update.sh"), 0);
    net.DisConnect();

    const std::vector<uint8_t> captured = tap.Captured();
    ASSERT_GT(captured.size(), 1000u);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } secrets[] = {
        {"a message header", {'D', 'V', 'R', 'P', kVersion, 0}},
        {"the user name", BytesOf("admin")},
        {"the shell command", BytesOf("shell-secret-9876")},
        {"the uploaded file", BytesOf("upload-secret-0123456789")},
        {"the remote path", BytesOf("/mnt/mtd/update.sh")},
        {"a frame's payload", {data.begin(), data.begin() + 32}},
    };
    for (const auto& s : secrets) {
        EXPECT_FALSE(Contains(captured, s.bytes)) << s.what << " crossed in clear";
    }
}

TEST_F(SecureLink, RelayEndingTlsOnBothSidesCanNeitherLogInNorInject) {
    Start({SmallRecorder(2)});
    TlsRelay relay(emulator_.Port(0),
                   {Shell{"injected-command"}, UploadBegin{"/mnt/mtd/evil.sh", 4},
                    UploadChunk{{'e', 'v', 'i', 'l'}}, UploadEnd{}, SetNetParam{0, 1, 0}});
    NetCtrl net(AnsweringTimeouts());
    net.InitNetWork();
    // The proof covers the client's TLS connection, which is not the recorder's.
    EXPECT_EQ(net.ConnectToServer("127.0.0.1", relay.Port(), "admin", "admin"), kLoginBadPassword);
    EXPECT_EQ(LinkStateOf(net), kLinkIdle);
    ASSERT_TRUE(PollUntil([&] { return relay.Injected() > 0; }));

    // The recorder took none of it, and still serves the honest client directly.
    ASSERT_EQ(LogIn(net), 0);
    const RecorderJournal journal = emulator_.Journal(0);
    EXPECT_TRUE(journal.shell_commands.empty());
    EXPECT_TRUE(journal.uploads.empty());
    EXPECT_TRUE(journal.net_parameters.empty());
    EXPECT_FALSE(std::filesystem::exists(sandbox_ / "recorder1" / "mnt" / "mtd" / "evil.sh"));
}

TEST(SecureLinkPeer, APeerThatCannotProveThePasswordIsRefusedAndToldNothing) {
    std::atomic<bool> spoke_after_reply{false};
    std::atomic<bool> answered{false};
    ScriptedRecorder impostor([&](ScriptedPeer& p) {
        // Says "logged in" with a proof made from another password.
        if (!p.Handshake(0, kSuperUserLevel, kCodecH264, "guessed")) return;
        answered = true;
        Message m;
        if (p.Read(m, 1000)) spoke_after_reply = true;
    });
    NetCtrl net(QuickTimeouts());
    net.InitNetWork();
    EXPECT_EQ(net.ConnectToServer("127.0.0.1", impostor.Port(), "admin", "pw"),
              NetCtrl::kConnectError);
    EXPECT_EQ(LinkStateOf(net), kLinkIdle);
    EXPECT_NE(net.LastError().find("could not prove"), std::string::npos) << net.LastError();
    EXPECT_LT(net.GetMachineLedInfo(), 0);
    ASSERT_TRUE(PollUntil([&] { return answered.load(); }));
    EXPECT_FALSE(spoke_after_reply);
}

TEST_F(SecureLink, WrongPasswordsFromOneAddressAreSlowed) {
    Start({SmallRecorder(1)});
    NetCtrl net(AnsweringTimeouts());
    net.InitNetWork();
    // Waits before the checks of the 2nd, 3rd and 4th attempts: 100, 200 and 400 ms.
    const auto start = std::chrono::steady_clock::now();
    for (int attempt = 0; attempt < 4; ++attempt) {
        ASSERT_EQ(net.ConnectToServer("127.0.0.1", emulator_.Port(0), "admin", "wrong"),
                  kLoginBadPassword);
    }
    EXPECT_GE(SecondsSince(start), 0.7);
    // The right password waits its turn too (else the quick answer would give it away), then
    // clears the address.
    const auto turn = std::chrono::steady_clock::now();
    ASSERT_EQ(LogIn(net), 0);
    EXPECT_GE(SecondsSince(turn), 0.7);
}

// At 2 Mbit/s behind a deep queue the answer to a stop waits several seconds behind stream
// data already under way; the link must hold through it, and the stop succeed.
TEST_F(SecureLink, StopBehindStreamDataOnASlowLinkKeepsTheLink) {
    struct Case {
        const char* what;
        uint32_t mask;
        int audio;
    };
    // A backup plays fast too, with sound.
    const Case cases[] = {
        {"stop during fast play", 0x3, 0},
        {"cancel of a backup", 0xf, 1},
    };
    Start({SmallRecorder(4)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ByteRelay slow(emulator_.Port(0), {250'000, 1'200'000});
        NetTimeouts limits = AnsweringTimeouts();
        limits.exchange_ms = 2000;  // well below the time the queue takes to drain
        limits.silence_ms = 4000;
        NetCtrl net(limits);
        net.InitNetWork();
        ASSERT_EQ(net.ConnectToServer("127.0.0.1", slow.Port(), "admin", "admin"), 0);
        std::vector<_QRF_FILESHOWINFO> list(300);
        ASSERT_GT(net.TimeToSearchRecList(kDayKey, list.data(), 0), 0);
        std::atomic<bool> stop_taking{false};
        std::thread taker([&] {  // as the backup's writer takes frames
            std::vector<char> head(36);
            std::vector<char> data(kMaxFramePayloadBytes);
            while (!stop_taking) {
                if (net.WaitForPicBuf(50) > 0) net.GetRawPicBuf(head.data(), data.data());
            }
        });
        ASSERT_EQ(net.NetPlayFile(0, 86400, static_cast<int>(c.mask), c.audio, 1), 0);
        // The queue in the middle holds about five seconds of the stream.
        EXPECT_TRUE(PollUntil([&] { return slow.Waiting() > 1'000'000; }, 30000));
        const auto stop = std::chrono::steady_clock::now();
        EXPECT_EQ(net.StopNetPlayFile(), 0) << net.LastError();
        const double stop_s = SecondsSince(stop);
        EXPECT_GT(stop_s, limits.exchange_ms / 1000.0) << "the answer did not wait: no test";
        EXPECT_EQ(LinkStateOf(net), kLinkLoggedIn) << net.LastError();
        stop_taking = true;
        taker.join();
        net.DisConnect();
    }
}
