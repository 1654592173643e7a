// A recorder that misbehaves in every way we can think of: NetCtrl must report an error, keep
// going and never hang or crash.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/netctrl/NetCtrl.h"
#include "platform/netctrl/tests/NetTestSupport.h"
#include "platform/netctrl/tests/ScriptedRecorder.h"

using namespace netproto;

namespace {

std::vector<uint8_t> Header(MsgType type, uint32_t length) {
    std::vector<uint8_t> bytes(kHeaderBytes);
    const uint16_t version = kVersion;
    const auto type_code = static_cast<uint16_t>(type);
    const uint32_t id = 0;
    std::memcpy(bytes.data(), &kMagic, 4);
    std::memcpy(bytes.data() + 4, &version, 2);
    std::memcpy(bytes.data() + 6, &type_code, 2);
    std::memcpy(bytes.data() + 8, &id, 4);
    std::memcpy(bytes.data() + 12, &length, 4);
    return bytes;
}

bool SendGarbage(ScriptedPeer& peer) {
    const std::string text = "HTTP/1.0 200 OK\r\nContent-Length: 99999999\r\n\r\n";
    return peer.SendRaw(text.data(), text.size());
}

struct LoginCase {
    const char* name;
    std::function<void(ScriptedPeer&)> script;
    int expected;
    const char* error_words;
};

}  // namespace

TEST(HostileRecorder, LogInFailsCleanlyWhateverTheRecorderDoes) {
    const std::vector<LoginCase> cases = {
        {"garbage",
         [](ScriptedPeer& p) {
             SendGarbage(p);
             p.Idle(2000);
         },
         -1, "bad magic"},
        {"huge length",
         [](ScriptedPeer& p) {
             const auto h = Header(MsgType::kChallenge, 0xFFFFFFFF);
             p.SendRaw(h.data(), h.size());
             p.Idle(2000);
         },
         -1, "payload length 4294967295"},
        {"truncated then closed",
         [](ScriptedPeer& p) {
             const auto h = Header(MsgType::kChallenge, kNonceBytes);
             p.SendRaw(h.data(), h.size() - 3);
         },
         -1, "closed"},
        {"stall", [](ScriptedPeer& p) { p.Idle(3000); }, -1, "timed out"},
        {"answer of the wrong kind",
         [](ScriptedPeer& p) {
             Message m;
             p.Read(m);
             p.Send(m.request_id, Ack{0});
             p.Idle(2000);
         },
         -1, "instead of a challenge"},
        {"wrong password", [](ScriptedPeer& p) { p.Handshake(kLoginBadPassword); }, -2, "(-2)"},
        {"super user busy", [](ScriptedPeer& p) { p.Handshake(kLoginSuperUserBusy); }, -3, "(-3)"},
        {"too many users", [](ScriptedPeer& p) { p.Handshake(kLoginTooManyUsers); }, -4, "(-4)"},
        {"unknown refusal", [](ScriptedPeer& p) { p.Handshake(-9); }, -1, "(-9)"},
    };
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedRecorder recorder(c.script);
        NetCtrl net(QuickTimeouts());
        ASSERT_EQ(net.InitNetWork(), 0);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(net.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "pw"), c.expected);
        EXPECT_LT(SecondsSince(start), 2.5);
        EXPECT_NE(net.LastError().find(c.error_words), std::string::npos) << net.LastError();
        EXPECT_EQ(LinkStateOf(net), kLinkIdle);
        EXPECT_EQ(net.GetMachineDiskInfo(), -1);
    }
}

TEST(HostileRecorder, UnreachableRecorderIsAConnectError) {
    int port = 0;
    {
        ScriptedRecorder gone([](ScriptedPeer&) {});
        port = gone.Port();
    }  // nothing listens there any more
    NetCtrl net(QuickTimeouts());
    net.InitNetWork();
    EXPECT_EQ(net.ConnectToServer("127.0.0.1", port, "admin", "pw"), NetCtrl::kConnectError);
    EXPECT_EQ(net.ConnectToServer("", 80, "admin", "pw"), NetCtrl::kConnectError);
    EXPECT_EQ(LinkStateOf(net), kLinkIdle);
}

TEST(HostileRecorder, MisbehaviourAfterLogInLosesTheLinkAndResetRecovers) {
    const std::vector<LoginCase> cases = {
        {"garbage", [](ScriptedPeer& p) { SendGarbage(p); }, 0, "bad magic"},
        {"frame announcing 2 GB",
         [](ScriptedPeer& p) {
             const auto h = Header(MsgType::kFrame, 0x80000000);
             p.SendRaw(h.data(), h.size());
         },
         0, "Frame payload length 2147483648"},
        {"frame head lying about its length",
         [](ScriptedPeer& p) {
             auto bytes = Header(MsgType::kFrame, kFrameHeadBytes + 10);
             _NET_FRAME_HEAD_ head{};
             head.nLength = 4000;
             const auto* h = reinterpret_cast<const uint8_t*>(&head);
             bytes.insert(bytes.end(), h, h + sizeof head);
             bytes.resize(bytes.size() + 10);
             p.SendRaw(bytes.data(), bytes.size());
         },
         0, "frame head length 4000 differs from payload 10"},
        {"truncated frame then closed",
         [](ScriptedPeer& p) {
             const auto h = Header(MsgType::kFrame, 5000);
             p.SendRaw(h.data(), h.size());
             p.SendRaw(std::vector<uint8_t>(100).data(), 100);
             ::shutdown(p.Fd(), SHUT_WR);
         },
         0, "closed"},
        {"a request sent to the client",
         [](ScriptedPeer& p) {
             p.Send(0, netproto::Login{"x", {}, {}});
         },
         0, "unexpected Login"},
        {"silence", [](ScriptedPeer&) {}, 0, "nothing received"},
    };
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedRecorder recorder([&](ScriptedPeer& p) {
            if (p.Handshake()) {
                c.script(p);
                p.Idle(3000);  // the link stays open: the client must judge by what it got
            }
        });
        NetCtrl net(QuickTimeouts());
        net.InitNetWork();
        ASSERT_EQ(net.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "pw"), 0);
        EXPECT_TRUE(PollUntil([&] { return LinkStateOf(net) == kLinkLost; }, 3000));
        EXPECT_EQ(net.IsHavePicBuf(), 0);
        EXPECT_EQ(net.CreateNetKeyFrame(), -1);
        EXPECT_NE(net.LastError().find(c.error_words), std::string::npos) << net.LastError();
        EXPECT_EQ(net.ResetNetWork(), 0);
        EXPECT_EQ(LinkStateOf(net), kLinkIdle);
    }
}

TEST(HostileRecorder, UnansweredOrWronglyAnsweredRequestsReturnInTime) {
    const std::vector<LoginCase> cases = {
        {"no answer", [](ScriptedPeer& p) { p.Idle(3000); }, 0, "no answer to DiskQuery"},
        {"wrong answer",
         [](ScriptedPeer& p) {
             Message m;
             p.Read(m);
             p.Send(m.request_id, LampReply{1, 2});
             p.Idle(3000);
         },
         0, "answer LampReply where DiskReply was due"},
        {"dropped", [](ScriptedPeer&) {}, 0, "closed"},
    };
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedRecorder recorder([&](ScriptedPeer& p) {
            if (p.Handshake()) {
                c.script(p);
            }
        });
        NetCtrl net(QuickTimeouts());
        net.InitNetWork();
        ASSERT_EQ(net.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "pw"), 0);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(net.GetMachineDiskInfo(), -1);
        EXPECT_LT(SecondsSince(start), 2.0);
        EXPECT_NE(net.LastError().find(c.error_words), std::string::npos) << net.LastError();
        EXPECT_TRUE(PollUntil([&] { return LinkStateOf(net) == kLinkLost; }, 3000));
        net.DisConnect();
        EXPECT_EQ(LinkStateOf(net), kLinkIdle);
    }
}
