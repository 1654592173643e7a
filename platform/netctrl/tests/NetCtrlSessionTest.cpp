// NetCtrl against a scripted recorder that behaves, for what the callers rely on: state
// changes, paging, playback ends, uploads, refusals and argument checks.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "NetCtrl.h"
#include "NetTestSupport.h"
#include "ScriptedRecorder.h"

using namespace netproto;

namespace {

Frame MakeFrame(int channel, bool key, int number) {
    Frame frame;
    frame.head.cType = 'V';
    frame.head.nChannel = channel;
    frame.head.nKeyFrame = key ? 1 : 0;
    frame.head.nFrameNo = number;
    frame.payload.assign(100 + number, static_cast<uint8_t>(number));
    frame.head.nLength = static_cast<uint32_t>(frame.payload.size());
    return frame;
}

class LoggedIn : public ::testing::Test {
protected:
    void Start(ScriptedRecorder::Script script) {
        recorder_ = std::make_unique<ScriptedRecorder>([script](ScriptedPeer& p) {
            if (p.Handshake()) {
                script(p);
            }
        });
        ASSERT_EQ(net_.InitNetWork(), 0);
        ASSERT_EQ(net_.ConnectToServer("127.0.0.1", recorder_->port(), "admin", "pw"), 0);
        ASSERT_EQ(LinkStateOf(net_), kLinkLoggedIn);
    }

    std::unique_ptr<ScriptedRecorder> recorder_;
    NetCtrl net_{QuickTimeouts()};
    std::vector<char> head_ = std::vector<char>(36);
    std::vector<char> data_ = std::vector<char>(NetCtrl::kFramePayloadBytes);
};

}  // namespace

TEST_F(LoggedIn, PlaybackHoldsStateTwoUntilTheLastFrameOfTheSpanIsTaken) {
    Start([](ScriptedPeer& p) {
        Message m;
        if (!p.Read(m) || !std::holds_alternative<PlayStart>(m.body)) {
            return;
        }
        const auto& play = std::get<PlayStart>(m.body);
        if (play.start_s != 49530 || play.end_s != 86400 || play.channel_mask != 0x5 ||
            play.fast != 1) {
            return;
        }
        p.Send(m.request_id, Ack{0});
        p.Send(0, MakeFrame(0, true, 0));
        p.Send(0, MakeFrame(0, false, 1));
        p.Send(0, PlayEnd{m.request_id + 100});  // not this span's
        p.Send(0, MakeFrame(2, true, 0));
        p.Send(0, PlayEnd{m.request_id});
        p.Idle(3000);
    });
    ASSERT_EQ(net_.NetPlayFile(49530, 86400, 0x5, 0, 1), 0);
    EXPECT_EQ(LinkStateOf(net_), kLinkStreaming);
    ASSERT_TRUE(WaitUntil([&] { return net_.IsHavePicBuf() == 3; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the end notice is in
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(LinkStateOf(net_), kLinkStreaming);
        EXPECT_GE(net_.GetRawPicBuf(head_.data(), data_.data()), 100);
    }
    EXPECT_EQ(LinkStateOf(net_), kLinkStreaming);  // the caller still works on the last one
    EXPECT_EQ(net_.IsHavePicBuf(), 0);
    EXPECT_EQ(LinkStateOf(net_), kLinkLoggedIn);
}

TEST_F(LoggedIn, NewPlayRequestDropsFramesOfTheOldSpanAndStopEndsIt) {
    Start([](ScriptedPeer& p) {
        Message m;
        while (p.Read(m)) {
            if (std::holds_alternative<PlayStart>(m.body)) {
                p.Send(0, MakeFrame(1, true, 0));  // still the old span
                p.Send(m.request_id, Ack{0});
                p.Send(0, MakeFrame(3, true, 0));
            } else if (!std::holds_alternative<KeepAlive>(m.body)) {
                p.Send(m.request_id, Ack{0});
            }
        }
    });
    ASSERT_EQ(net_.NetPlayFile(0, 86400, 0xF, 0, 0), 0);
    ASSERT_EQ(net_.NetPlayFile(3600, 86400, 0xF, 0, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return net_.IsHavePicBuf() >= 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(net_.IsHavePicBuf(), 1);
    ASSERT_GE(net_.GetRawPicBuf(head_.data(), data_.data()), 0);
    EXPECT_EQ(reinterpret_cast<_NET_FRAME_HEAD_*>(head_.data())->nChannel, 3);
    EXPECT_EQ(LinkStateOf(net_), kLinkStreaming);
    EXPECT_EQ(net_.StopNetPlayFile(), 0);
    EXPECT_EQ(LinkStateOf(net_), kLinkLoggedIn);
}

TEST_F(LoggedIn, LiveViewStartsAndStops) {
    Start([](ScriptedPeer& p) {
        Message m;
        while (p.Read(m)) {
            if (const auto* live = std::get_if<LiveStart>(&m.body)) {
                p.Send(m.request_id, Ack{live->channel_mask == 0xffff ? 0 : -1});
                p.Send(0, MakeFrame(15, true, 0));
            } else if (!std::holds_alternative<KeepAlive>(m.body)) {
                p.Send(m.request_id, Ack{0});
            }
        }
    });
    EXPECT_EQ(net_.SetNetParameter(640, 16, 0), 0);
    EXPECT_EQ(net_.NetLocalViewPlay(0xffff, 1), 0);
    EXPECT_EQ(LinkStateOf(net_), kLinkStreaming);
    ASSERT_TRUE(WaitUntil([&] { return net_.IsHavePicBuf() == 1; }));
    EXPECT_EQ(net_.GetRawPicBuf(head_.data(), data_.data()), 100);
    EXPECT_EQ(net_.StopNetLocalView(), 1);
    EXPECT_EQ(LinkStateOf(net_), kLinkLoggedIn);
    EXPECT_EQ(net_.NetLocalViewPlay(0x1, 0), -1);  // refused: the state does not change
    EXPECT_EQ(LinkStateOf(net_), kLinkLoggedIn);
    EXPECT_NE(net_.LastError().find("refused LiveStart (-1)"), std::string::npos);
}

TEST_F(LoggedIn, RecordPagesFillAllEntriesAndRefusedPagesAreErrors) {
    Start([](ScriptedPeer& p) {
        Message m;
        while (p.Read(m)) {
            if (const auto* q = std::get_if<RecListQuery>(&m.body)) {
                RecListReply reply;
                if (q->day_key != 1090728 || q->page > 1) {
                    reply.result = -1;
                } else {
                    reply.result = q->page == 0 ? 2 : 5;
                    reply.entries.resize(q->page == 0 ? 300 : 5);
                    for (std::size_t i = 0; i < reply.entries.size(); ++i) {
                        reply.entries[i].nStartTime = static_cast<int32_t>(1000 + i);
                    }
                }
                p.Send(m.request_id, reply);
            }
        }
    });
    std::vector<_QRF_FILESHOWINFO> page(300);
    EXPECT_EQ(net_.TimeToSearchRecList(MakeDayKey(2009, 8, 28), page.data(), 0), 2);
    EXPECT_EQ(page[299].nStartTime, 1299);
    EXPECT_EQ(net_.TimeToSearchRecList(1090728, page.data(), 1), 5);
    EXPECT_EQ(page[4].nStartTime, 1004);
    EXPECT_EQ(page[5].nStartTime, 0);  // nothing of the previous page is left behind
    EXPECT_EQ(page[299].nStartTime, 0);
    EXPECT_LT(net_.TimeToSearchRecList(1090728, page.data(), 2), 0);
    EXPECT_EQ(LinkStateOf(net_), kLinkLoggedIn);
    EXPECT_EQ(net_.TimeToSearchRecList(1090728, nullptr, 0), -1);
}

TEST_F(LoggedIn, UploadSendsTheFileInChunksAndReportsTheRecordersVerdict) {
    std::vector<uint8_t> received;
    std::string remote;
    uint64_t announced = 0;
    Start([&](ScriptedPeer& p) {
        Message m;
        while (p.Read(m)) {
            if (const auto* begin = std::get_if<UploadBegin>(&m.body)) {
                remote = begin->remote_path;
                announced = begin->size_bytes;
                p.Send(m.request_id, Ack{0});
            } else if (const auto* chunk = std::get_if<UploadChunk>(&m.body)) {
                received.insert(received.end(), chunk->data.begin(), chunk->data.end());
            } else if (std::holds_alternative<UploadEnd>(m.body)) {
                p.Send(m.request_id, Ack{received.size() == announced ? 0 : -1});
            } else if (const auto* shell = std::get_if<Shell>(&m.body)) {
                p.Send(m.request_id, Ack{shell->command == "reboot" ? -1 : 0});
            }
        }
    });
    const std::string local = ::testing::TempDir() + "netctrl_upload.bin";
    std::vector<uint8_t> content(150000);
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<uint8_t>(i * 31);
    }
    std::ofstream(local, std::ios::binary)
        .write(reinterpret_cast<const char*>(content.data()),
               static_cast<std::streamsize>(content.size()));

    EXPECT_EQ(net_.NetSendUpdateFile(local.c_str(), "/mnt/mtd/bin/app"), 0);
    EXPECT_EQ(remote, "/mnt/mtd/bin/app");
    EXPECT_EQ(received, content);

    EXPECT_EQ(net_.NetSendUpdateFile((local + ".missing").c_str(), "/mnt/mtd/x"), -1);
    EXPECT_NE(net_.LastError().find("cannot read the file"), std::string::npos);
    EXPECT_EQ(net_.NetSendUpdateFile(local.c_str(), ""), -1);
    EXPECT_EQ(net_.ExecuteShell("chmod 777 /mnt/mtd/net_update_start.sh"), 0);
    EXPECT_EQ(net_.ExecuteShell("reboot"), -1);
    EXPECT_EQ(net_.ExecuteShell(std::string(1025, 'x').c_str()), -1);
    EXPECT_EQ(LinkStateOf(net_), kLinkLoggedIn);
    std::remove(local.c_str());
}

TEST(NetCtrlCalls, FailAtOnceWithoutANetworkOrALogIn) {
    NetCtrl net(QuickTimeouts());
    EXPECT_EQ(net.ConnectToServer("127.0.0.1", 1, "admin", "pw"), -1);  // no InitNetWork
    net.InitNetWork();
    NET_MAC_SET_PARA para{};
    std::vector<_QRF_FILESHOWINFO> page(300);
    char head[36];
    std::vector<char> data(NetCtrl::kFramePayloadBytes);
    EXPECT_EQ(net.GetDvrMacPara(&para), -1);
    EXPECT_EQ(net.NetLocalViewPlay(0xffff, 0), -1);
    EXPECT_EQ(net.TimeToSearchRecList(1090728, page.data(), 0), -1);
    EXPECT_EQ(net.NetPlayFile(0, 100, 1, 0, 0), -1);
    EXPECT_EQ(net.NetSendUpdateFile("/etc/hostname", "/mnt/mtd/x"), -1);
    EXPECT_EQ(net.LastError(), "not logged in");
    EXPECT_EQ(net.IsHavePicBuf(), 0);
    EXPECT_EQ(net.GetRawPicBuf(head, data.data()), -1);
    EXPECT_EQ(net.GetRawPicBuf(nullptr, data.data()), -1);
    EXPECT_EQ(net.NetPlayFile(-1, 100, 1, 0, 0), -1);
    EXPECT_EQ(net.NetPlayFile(100, 86401, 1, 0, 0), -1);
    EXPECT_EQ(net.NetPlayFile(200, 100, 1, 0, 0), -1);
    EXPECT_NE(net.LastError().find("not within one day"), std::string::npos);
    EXPECT_EQ(net.GetMachineInfe().nLinkState, kLinkIdle);
    EXPECT_EQ(net.DisConnect(), 0);
    EXPECT_EQ(net.ResetNetWork(), 0);
    EXPECT_EQ(net.StopNetWork(), 0);
}
