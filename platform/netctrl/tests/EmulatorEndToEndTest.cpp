// Every NetCtrl call against the recorder emulator on loopback.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/netctrl/tests/EmulatorFixture.h"

namespace {

class EndToEnd : public EmulatorFixture {
protected:
    std::vector<char> head_ = std::vector<char>(36);
    std::vector<char> data_ = std::vector<char>(kMaxFramePayloadBytes);

    const _NET_FRAME_HEAD_& Head() const {
        return *reinterpret_cast<const _NET_FRAME_HEAD_*>(head_.data());
    }
    // Takes the next frame within timeout_ms; false when none came.
    bool NextFrame(NetCtrl& net, int timeout_ms = 20000) {
        return net.WaitForPicBuf(timeout_ms) > 0 &&
               net.GetRawPicBuf(head_.data(), data_.data()) >= 0;
    }
};

}  // namespace

TEST_F(EndToEnd, LogInResultsAndTheStateRecord) {
    RecorderConfig config = SmallRecorder(4);
    config.type_code = 7004;
    Start({config});
    NetCtrl wrong(AnsweringTimeouts());
    EXPECT_EQ(LogIn(wrong, "admin", "nope"), -2);
    EXPECT_EQ(LogIn(wrong, "nobody", "admin"), -2);

    NetCtrl admin(AnsweringTimeouts());
    ASSERT_EQ(LogIn(admin), 0);
    const _DVR_MACHINE_INFO_ info = admin.GetMachineInfe();
    EXPECT_EQ(info.nTypeCode, 7004);
    EXPECT_EQ(info.nUserLevel, kSuperUserLevel);
    EXPECT_EQ(info.nCodec, kCodecH264);
    EXPECT_EQ(info.nAudioMask, 0x2);
    EXPECT_EQ(info.nLinkState, kLinkLoggedIn);

    NetCtrl second_admin(AnsweringTimeouts());
    EXPECT_EQ(LogIn(second_admin), -3);
    NetCtrl guest(AnsweringTimeouts());
    ASSERT_EQ(LogIn(guest, "guest", "guest"), 0);
    EXPECT_EQ(guest.GetMachineInfe().nUserLevel, 1);
    NetCtrl one_too_many(AnsweringTimeouts());
    EXPECT_EQ(LogIn(one_too_many, "guest", "guest"), -4);

    // A log-out frees the place at once.
    EXPECT_EQ(admin.DisConnect(), 0);
    EXPECT_EQ(LinkStateOf(admin), kLinkIdle);
    EXPECT_TRUE(PollUntil([&] { return emulator_.LoggedInUsers(0).size() == 1; }));
    EXPECT_EQ(LogIn(second_admin), 0);

    const uint16_t port = emulator_.Port(0);
    emulator_.Stop();
    NetCtrl unreachable(AnsweringTimeouts());
    unreachable.InitNetWork();
    EXPECT_EQ(unreachable.ConnectToServer("127.0.0.1", port, "admin", "admin"),
              NetCtrl::kConnectError);
}

TEST_F(EndToEnd, LiveStreamOfTheMaskedChannelsWithKeyFramesAndAudio) {
    Start({SmallRecorder(4)});
    NetCtrl net(AnsweringTimeouts());
    ASSERT_EQ(LogIn(net), 0);
    EXPECT_EQ(net.SetNetParameter(640, 16, 0), 0);
    ASSERT_EQ(net.NetLocalViewPlay(0x6, 1), 0);
    EXPECT_EQ(LinkStateOf(net), kLinkStreaming);

    std::map<int, int> next_number;  // per channel, after its first key frame
    int audio = 0;
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(NextFrame(net)) << "frame " << i;
        const _NET_FRAME_HEAD_& h = Head();
        if (h.cType == 'A') {
            EXPECT_EQ(h.nChannel, 1);
            ++audio;
            continue;
        }
        ASSERT_EQ(h.cType, 'V');
        EXPECT_TRUE(h.nChannel == 1 || h.nChannel == 2) << h.nChannel;
        EXPECT_EQ(h.nSize, 2);
        if (h.nKeyFrame == 1) {
            EXPECT_EQ(h.nFrameNo, 0);
        } else if (next_number.count(h.nChannel)) {
            EXPECT_EQ(h.nFrameNo, next_number[h.nChannel]);
        }
        next_number[h.nChannel] = h.nFrameNo + 1;
    }
    EXPECT_GT(audio, 0);
    EXPECT_EQ(next_number.size(), 2u);

    EXPECT_EQ(net.CreateNetKeyFrame(), 0);
    EXPECT_EQ(net.StopNetLocalView(), 1);
    EXPECT_EQ(LinkStateOf(net), kLinkLoggedIn);
    const RecorderJournal journal = emulator_.Journal(0);
    ASSERT_EQ(journal.net_parameters.size(), 1u);
    EXPECT_EQ(journal.net_parameters[0].rate, 640);
    EXPECT_EQ(journal.net_parameters[0].fps, 16);
    ASSERT_EQ(journal.live_requests.size(), 1u);
    EXPECT_EQ(journal.live_requests[0].channel_mask, 0x6u);
    EXPECT_EQ(journal.key_frame_requests, 1);
}

TEST_F(EndToEnd, LostLinkReadsThreeAndResetAllowsANewLogIn) {
    Start({SmallRecorder(2)});
    NetCtrl net(AnsweringTimeouts());
    ASSERT_EQ(LogIn(net), 0);
    ASSERT_EQ(net.NetLocalViewPlay(0x3, 0), 0);
    emulator_.InjectFault(0, Fault::kDropLink);
    ASSERT_TRUE(PollUntil([&] { return LinkStateOf(net) == kLinkLost; }));
    EXPECT_EQ(net.CreateNetKeyFrame(), -1);
    EXPECT_NE(net.LastError().find("lost"), std::string::npos) << net.LastError();
    EXPECT_EQ(net.ResetNetWork(), 0);
    EXPECT_EQ(LinkStateOf(net), kLinkIdle);
    EXPECT_EQ(net.ConnectToServer("127.0.0.1", emulator_.Port(0), "admin", "admin"), 0);
    EXPECT_EQ(LinkStateOf(net), kLinkLoggedIn);
}

TEST_F(EndToEnd, StallAndBadHeaderLoseTheLink) {
    Start({SmallRecorder(2)});
    NetTimeouts limits = AnsweringTimeouts();
    limits.exchange_ms = 3000;  // the one limit this test runs into
    NetCtrl net(limits);
    ASSERT_EQ(LogIn(net), 0);
    // The recorder stays silent until told otherwise, so the request can only end by its limit.
    emulator_.InjectFault(0, Fault::kStall, 600000);
    ASSERT_TRUE(Committed(Fault::kStall));
    EXPECT_EQ(net.GetMachineLedInfo(), -1);
    EXPECT_EQ(LinkStateOf(net), kLinkLost);
    net.ResetNetWork();
    // The recorder keeps the super user's place until it wakes and sees the link gone.
    emulator_.InjectFault(0, Fault::kStall, 0);
    ASSERT_TRUE(PollUntil([&] { return emulator_.LoggedInUsers(0).empty(); }, 20000));

    ASSERT_EQ(net.ConnectToServer("127.0.0.1", emulator_.Port(0), "admin", "admin"), 0);
    ASSERT_EQ(net.NetLocalViewPlay(0x1, 0), 0);
    emulator_.InjectFault(0, Fault::kBadHeader);
    EXPECT_TRUE(PollUntil([&] { return LinkStateOf(net) == kLinkLost; }));
    // The reason is there as soon as the state says lost, before any call fails on it.
    EXPECT_NE(net.LastError().find("bad magic"), std::string::npos) << net.LastError();
    net.CreateNetKeyFrame();
    EXPECT_NE(net.LastError().find("bad magic"), std::string::npos) << net.LastError();
}

TEST_F(EndToEnd, FrameFaultsReachTheCallerForItsOwnChecks) {
    Start({SmallRecorder(1)});
    NetCtrl net(AnsweringTimeouts());
    ASSERT_EQ(LogIn(net), 0);
    ASSERT_EQ(net.NetLocalViewPlay(0x1, 0), 0);
    emulator_.InjectFault(0, Fault::kBadChannel);
    bool saw_channel_16 = false;
    for (int i = 0; i < 50 && !saw_channel_16; ++i) {
        ASSERT_TRUE(NextFrame(net));
        saw_channel_16 = Head().cType == 'V' && Head().nChannel == 16;
    }
    EXPECT_TRUE(saw_channel_16);
    emulator_.InjectFault(0, Fault::kOversizeLength);
    bool saw_oversize = false;
    for (int i = 0; i < 50 && !saw_oversize; ++i) {
        ASSERT_TRUE(NextFrame(net));
        saw_oversize = Head().nLength == kMaxRecordedFrameBytes + 1;
    }
    EXPECT_TRUE(saw_oversize);
    EXPECT_EQ(LinkStateOf(net), kLinkStreaming);
}

TEST_F(EndToEnd, RecordListOfMoreThanOnePage) {
    RecorderConfig config = SmallRecorder(2);
    config.day_schedule.clear();
    for (int i = 0; i < 450; ++i) {  // 450 one-minute records, one every three minutes
        config.day_schedule.push_back({i * 180, i * 180 + 60, i % 2 ? 0x2u : 0x1u});
    }
    Start({config});
    NetCtrl net(AnsweringTimeouts());
    ASSERT_EQ(LogIn(net), 0);
    std::vector<_QRF_FILESHOWINFO> page(kRecListPageEntries);
    const int pages = net.TimeToSearchRecList(kDayKey, page.data(), 0);
    ASSERT_EQ(pages, 2);
    std::vector<_QRF_FILESHOWINFO> all(page.begin(), page.end());
    EXPECT_EQ(net.TimeToSearchRecList(kDayKey, page.data(), 1), 150);
    all.insert(all.end(), page.begin(), page.begin() + 150);
    EXPECT_EQ(page[150].nStartTime, 0);
    const int32_t midnight = static_cast<int32_t>(kDay * 86400);
    for (int i = 0; i < 450; ++i) {
        EXPECT_EQ(all[i].nStartTime, midnight + i * 180) << i;
        EXPECT_EQ(all[i].nEndTime, midnight + i * 180 + 60) << i;
        EXPECT_EQ(all[i].nChannelMask, i % 2 ? 0x2 : 0x1) << i;
    }
    EXPECT_LT(net.TimeToSearchRecList(kDayKey, page.data(), 2), 0);
    EXPECT_LE(net.TimeToSearchRecList(MakeDayKey(2009, 8, 27), page.data(), 0), 0);
}

TEST_F(EndToEnd, FastPlaybackOfASpanEndsInStateOne) {
    RecorderConfig config = SmallRecorder(2);
    config.day_schedule = {{36000, 36060, 0x3}};
    Start({config});
    NetCtrl net(AnsweringTimeouts());
    ASSERT_EQ(LogIn(net), 0);
    std::vector<_QRF_FILESHOWINFO> page(kRecListPageEntries);
    ASSERT_EQ(net.TimeToSearchRecList(kDayKey, page.data(), 0), 1);
    ASSERT_EQ(net.NetPlayFile(35000, 86400, 0x1, 0, 1), 0);
    EXPECT_EQ(LinkStateOf(net), kLinkStreaming);
    const int32_t span_start = static_cast<int32_t>(kDay * 86400 + 36000);
    int video = 0;
    for (int i = 0; i < 100000 && LinkStateOf(net) == kLinkStreaming; ++i) {
        if (net.IsHavePicBuf() <= 0) {  // asking is what delivers the span's end
            net.WaitForPicBuf(100);
            continue;
        }
        ASSERT_GE(net.GetRawPicBuf(head_.data(), data_.data()), 0);
        if (Head().cType == 'V') {
            ++video;
            EXPECT_EQ(Head().nChannel, 0);
            EXPECT_GE(Head().nTime, span_start);
            EXPECT_LE(Head().nTime, span_start + 60);
        }
    }
    EXPECT_EQ(LinkStateOf(net), kLinkLoggedIn);
    EXPECT_GT(video, 0);
    const RecorderJournal journal = emulator_.Journal(0);
    ASSERT_EQ(journal.play_requests.size(), 1u);
    EXPECT_EQ(journal.play_requests[0].day_number, kDay);
    EXPECT_EQ(journal.play_requests[0].fast, 1);

    // Normal speed, stopped by the caller.
    ASSERT_EQ(net.NetPlayFile(36000, 86400, 0x3, 0, 0), 0);
    EXPECT_TRUE(NextFrame(net));
    EXPECT_EQ(net.StopNetPlayFile(), 0);
    EXPECT_EQ(LinkStateOf(net), kLinkLoggedIn);
}

TEST_F(EndToEnd, UploadShellCommandsParametersAndKeys) {
    Start({SmallRecorder(4)});
    NetCtrl net(AnsweringTimeouts());
    ASSERT_EQ(LogIn(net), 0);

    const auto local = sandbox_ / "net_update_start.sh";
    std::string script = "#!/bin/sh\n";
    for (int i = 0; i < 20000; ++i) {
        script += "echo line " + std::to_string(i) + "\n";
    }
    std::ofstream(local) << script;
    EXPECT_EQ(net.NetSendUpdateFile(local.c_str(), "/mnt/mtd/net_update_start.sh"), 0);
    EXPECT_EQ(net.ExecuteShell("chmod 777 /mnt/mtd/net_update_start.sh"), 0);
    EXPECT_EQ(net.ExecuteShell("/mnt/mtd/net_update_start.sh"), 0);
    EXPECT_LT(net.NetSendUpdateFile(local.c_str(), "/mnt/mtd/../../etc/passwd"), 0);
    EXPECT_EQ(LinkStateOf(net), kLinkLoggedIn);

    RecorderJournal journal = emulator_.Journal(0);
    ASSERT_EQ(journal.uploads.size(), 1u);
    EXPECT_EQ(journal.uploads[0].remote_path, "/mnt/mtd/net_update_start.sh");
    std::stringstream stored;
    stored << std::ifstream(journal.uploads[0].stored_path).rdbuf();
    EXPECT_EQ(stored.str(), script);
    EXPECT_EQ(journal.shell_commands,
              (std::vector<std::string>{"chmod 777 /mnt/mtd/net_update_start.sh",
                                        "/mnt/mtd/net_update_start.sh"}));

    NET_MAC_SET_PARA para{};
    ASSERT_GE(net.GetDvrMacPara(&para), 0);
    para.brightness[3] = 77;
    para.ptzAddress[15] = 254;
    para.resolution = 2;
    EXPECT_EQ(net.SetDvrMacPara(&para), 0);
    EXPECT_EQ(emulator_.Para(0).brightness[3], 77);
    NET_MAC_SET_PARA again{};
    ASSERT_GE(net.GetDvrMacPara(&again), 0);
    EXPECT_EQ(std::memcmp(&again, &para, sizeof para), 0);

    EXPECT_EQ(net.SendNetCommand({kNetCommandPtz, 9, 2, 1, 0}), 0);
    EXPECT_EQ(net.SendNetCommand({kNetCommandKey, kKeyRec, 0, 0, 0}), 0);
    journal = emulator_.Journal(0);
    ASSERT_EQ(journal.commands.size(), 2u);
    EXPECT_EQ(journal.commands[0].nSubCode, 9);
    EXPECT_EQ(journal.commands[0].nChannel, 2);
    EXPECT_EQ(net.GetMachineLedInfo(), 0);
    const _DVR_MACHINE_INFO_ info = net.GetMachineInfe();
    EXPECT_EQ(static_cast<uint32_t>(info.nLedLow | info.nLedHigh << 8), emulator_.LampWord(0));
    EXPECT_NE(emulator_.LampWord(0), 0u);
    EXPECT_EQ(net.GetMachineDiskInfo(), 0);
    EXPECT_EQ(net.GetMachineInfe().nDiskCount, 1);
    EXPECT_EQ(net.GetMachineInfe().disk[0].nSizeMB, 500000);
}

TEST_F(EndToEnd, OrdinaryUserIsRefusedSuperUserRequests) {
    Start({SmallRecorder(4)});
    NetCtrl guest(AnsweringTimeouts());
    ASSERT_EQ(LogIn(guest, "guest", "guest"), 0);
    NET_MAC_SET_PARA para{};
    EXPECT_LT(guest.GetDvrMacPara(&para), 0);
    EXPECT_LT(guest.ExecuteShell("reboot"), 0);
    EXPECT_EQ(LinkStateOf(guest), kLinkLoggedIn);
    EXPECT_TRUE(emulator_.Journal(0).shell_commands.empty());
}
