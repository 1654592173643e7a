#include "platform/netctrl/protocol/PayloadCodec.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderEmulator.h"
#include "tools/recorder-emulator/tests/TestClient.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <thread>

namespace {

const int64_t kDay = DayNumberOf({2009, 8, 28});
const int32_t kDayKey = 1090728;

// Small loops keep the sanitizer builds quick.
RecorderConfig SmallRecorder(int channels) {
    RecorderConfig config = DefaultRecorderConfig(channels, kDay);
    config.loop_frames = 4;
    config.max_users = 3;
    config.audio_mask = 0x1;
    config.first_record_day = config.last_record_day = kDay;
    return config;
}

class ServerTest : public ::testing::Test {
protected:
    void Start(std::vector<RecorderConfig> configs) {
        std::string error;
        ASSERT_TRUE(emulator_.Start(configs, sandbox_, &error)) << error;
    }
    void TearDown() override { emulator_.Stop(); }
    void LogIn(TestClient& client, const std::string& user = "admin", size_t recorder = 0) {
        ASSERT_TRUE(client.Connect(emulator_.Port(recorder)));
        ASSERT_GE(client.Login(user, user), 0);
    }

    TestFolder test_folder_;
    const std::filesystem::path sandbox_ = test_folder_.Path();
    RecorderEmulator emulator_;
};

TEST_F(ServerTest, LoginRefusals) {
    Start({SmallRecorder(4)});
    TestClient wrong;
    ASSERT_TRUE(wrong.Connect(emulator_.Port(0)));
    EXPECT_EQ(wrong.Login("admin", "nope"), -2);
    TestClient unknown;
    ASSERT_TRUE(unknown.Connect(emulator_.Port(0)));
    EXPECT_EQ(unknown.Login("nobody", "x"), -2);

    TestClient super;
    ASSERT_TRUE(super.Connect(emulator_.Port(0)));
    _DVR_MACHINE_INFO_ info{};
    ASSERT_EQ(super.Login("admin", "admin", &info), 0);
    EXPECT_EQ(info.nTypeCode, 1004);
    EXPECT_EQ(info.nCodec, kH264CodecWord);
    EXPECT_EQ(info.nUserLevel, 2);
    EXPECT_EQ(info.nAudioMask, 1);
    EXPECT_EQ(info.nDiskCount, 1);
    EXPECT_EQ(info.disk[0].nFirstTime, kDay * 86400);

    TestClient second_super;
    ASSERT_TRUE(second_super.Connect(emulator_.Port(0)));
    EXPECT_EQ(second_super.Login("admin", "admin"), -3);

    TestClient guest1, guest2, guest3;
    ASSERT_TRUE(guest1.Connect(emulator_.Port(0)) && guest2.Connect(emulator_.Port(0)) &&
                guest3.Connect(emulator_.Port(0)));
    EXPECT_EQ(guest1.Login("guest", "guest"), 0);
    EXPECT_EQ(guest2.Login("guest", "guest"), 0);
    EXPECT_EQ(guest3.Login("guest", "guest"), -4);  // three users at most
    EXPECT_EQ(emulator_.LoggedInUsers(0).size(), 3u);

    // A log-out frees the super user's place.
    EXPECT_EQ(super.Ack(netproto::Logout{}), 0);
    ASSERT_TRUE(PollUntil([&] { return emulator_.LoggedInUsers(0).size() == 2; }));
    TestClient again;
    ASSERT_TRUE(again.Connect(emulator_.Port(0)));
    EXPECT_EQ(again.Login("admin", "admin"), 0);
}

TEST_F(ServerTest, LiveStreamHeadersAndKeyFrames) {
    RecorderConfig config = SmallRecorder(4);
    config.channel_formats[2] = {1, 0};  // 720 x 480
    config.clock_offset_s = -3600;       // the recorder's clock is an hour behind
    Start({config});
    TestClient client;
    LogIn(client);
    EXPECT_EQ(client.Ack(netproto::SetNetParam{640, 30, 0}), 0);
    EXPECT_EQ(client.Ack(netproto::LiveStart{0x6, 1}), 0);

    std::map<int, std::vector<int>> numbers;
    int audio_frames = 0;
    while (numbers[1].size() < 6 || numbers[2].size() < 6) {
        auto m = client.Next();
        ASSERT_TRUE(m);
        const auto* f = std::get_if<netproto::Frame>(&m->body);
        ASSERT_TRUE(f);
        ASSERT_EQ(f->head.nLength, f->payload.size());
        if (f->head.cType == 'A') {
            ++audio_frames;
            continue;
        }
        ASSERT_EQ(f->head.cType, 'V');
        const int ch = f->head.nChannel;
        ASSERT_TRUE(ch == 1 || ch == 2) << ch;
        EXPECT_EQ(f->head.nStandard, ch == 2 ? 1 : 0);
        EXPECT_EQ(f->head.nSize, ch == 2 ? 0 : 2);
        EXPECT_EQ(f->head.nKeyFrame, f->head.nFrameNo == 0 ? 1 : 0);
        EXPECT_NEAR(f->head.nTime, std::time(nullptr) - 3600, 60);  // however late it is read
        numbers[ch].push_back(f->head.nFrameNo);
    }
    EXPECT_EQ(audio_frames, 0);  // channel 0 carries the audio, and it is not streamed
    for (auto& [ch, seq] : numbers) {
        EXPECT_EQ(seq[0], 0) << "a stream starts at a key frame";
        for (size_t i = 1; i < seq.size(); ++i)
            EXPECT_EQ(seq[i], (seq[i - 1] + 1) % 4);
    }

    // A key-frame request restarts every streamed channel at frame number 0.
    EXPECT_EQ(client.Ack(netproto::KeyFrame{}), 0);
    client.DropEarlier();  // sent before the answer, so before the request took effect
    std::set<int> restarted;
    while (restarted.size() < 2) {
        auto f = client.NextFrame();
        ASSERT_TRUE(f);
        EXPECT_EQ(f->head.nFrameNo, 0);
        restarted.insert(f->head.nChannel);
    }
    EXPECT_EQ(client.Ack(netproto::LiveStop{}), 1);
    const RecorderJournal journal = emulator_.Journal(0);
    ASSERT_EQ(journal.net_parameters.size(), 1u);
    EXPECT_EQ(journal.net_parameters[0].rate, 640);
    ASSERT_EQ(journal.live_requests.size(), 1u);
    EXPECT_EQ(journal.live_requests[0].channel_mask, 0x6u);
    EXPECT_EQ(journal.key_frame_requests, 1);
}

TEST_F(ServerTest, FixedLiveRateIgnoresTheAskedRate) {
    RecorderConfig config = SmallRecorder(1);
    config.fixed_live_fps = 25;
    Start({config});
    TestClient client;
    LogIn(client);
    EXPECT_EQ(client.Ack(netproto::SetNetParam{90, 1, 0}), 0);  // answered, not followed
    EXPECT_EQ(client.Ack(netproto::LiveStart{0x1, 0}), 0);
    // At the asked one frame a second no two frames would carry the same second; at the
    // recorder's own rate most of them do.
    int shared_second = 0;
    auto previous = client.NextFrame();
    ASSERT_TRUE(previous);
    for (int i = 0; i < 30; ++i) {
        auto f = client.NextFrame();
        ASSERT_TRUE(f);
        shared_second += f->head.nTime == previous->head.nTime;
        previous = std::move(f);
    }
    EXPECT_GT(shared_second, 0);
    EXPECT_EQ(emulator_.Journal(0).net_parameters.at(0).fps, 1);
}

TEST_F(ServerTest, AudioBlocksOnTheAudioChannels) {
    RecorderConfig config = SmallRecorder(2);
    config.audio_block_bytes = 4096;
    Start({config});
    TestClient client;
    LogIn(client);
    EXPECT_EQ(client.Ack(netproto::LiveStart{0x3, 1}), 0);
    int audio = 0;
    while (audio < 2) {
        auto f = client.NextFrame();
        ASSERT_TRUE(f);
        if (f->head.cType != 'A') continue;
        EXPECT_EQ(f->head.nChannel, 0);
        EXPECT_EQ(f->head.nLength, 4096u);
        ++audio;
    }
}

TEST_F(ServerTest, RecordListPagesAndFastPlayback) {
    RecorderConfig config = SmallRecorder(4);
    config.day_schedule = {};
    for (int i = 0; i < 350; ++i)
        config.day_schedule.push_back({i * 200, i * 200 + 100, 0x3});
    config.fast_factor = 25;  // one second of recording per frame sent
    Start({config});
    TestClient client;
    LogIn(client);

    const auto page0 = client.Request<netproto::RecListReply>(netproto::RecListQuery{kDayKey, 0});
    ASSERT_TRUE(page0);
    EXPECT_EQ(page0->result, 2);
    ASSERT_EQ(page0->entries.size(), 300u);
    EXPECT_EQ(page0->entries[0].nStartTime, kDay * 86400);
    EXPECT_EQ(page0->entries[0].nEndTime, kDay * 86400 + 100);
    EXPECT_EQ(page0->entries[0].nChannelMask, 0x3);
    const auto page1 = client.Request<netproto::RecListReply>(netproto::RecListQuery{kDayKey, 1});
    ASSERT_TRUE(page1);
    EXPECT_EQ(page1->result, 50);
    EXPECT_EQ(page1->entries.back().nStartTime, kDay * 86400 + 349 * 200);
    const auto page2 = client.Request<netproto::RecListReply>(netproto::RecListQuery{kDayKey, 2});
    ASSERT_TRUE(page2);
    EXPECT_LT(page2->result, 0);
    const auto empty =
        client.Request<netproto::RecListReply>(netproto::RecListQuery{kDayKey + 1, 0});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->result, 0);
    const auto bad = client.Request<netproto::RecListReply>(netproto::RecListQuery{1091300, 0});
    ASSERT_TRUE(bad);
    EXPECT_LT(bad->result, 0);  // month 13

    // Back to the recorded day, then a fast span across a gap: 90..110 and 200..230.
    ASSERT_TRUE(client.Request<netproto::RecListReply>(netproto::RecListQuery{kDayKey, 0}));
    EXPECT_EQ(client.Ack(netproto::PlayStart{90, 230, 0x2, 0, 1}), 0);
    const uint32_t play_id = client.LastRequestId();
    std::set<int32_t> times;
    for (;;) {
        auto m = client.Next();
        ASSERT_TRUE(m) << client.LastError();
        if (const auto* end = std::get_if<netproto::PlayEnd>(&m->body)) {
            EXPECT_EQ(end->play_request_id, play_id);
            break;
        }
        const auto& f = std::get<netproto::Frame>(m->body);
        EXPECT_EQ(f.head.nChannel, 1);
        times.insert(f.head.nTime - static_cast<int32_t>(kDay * 86400));
    }
    ASSERT_FALSE(times.empty());
    EXPECT_EQ(*times.begin(), 90);
    EXPECT_EQ(*times.rbegin(), 229);
    EXPECT_EQ(times.count(150), 0u);  // the gap is skipped
    const auto plays = emulator_.Journal(0).play_requests;
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].day_number, kDay);
    EXPECT_EQ(plays[0].fast, 1);
    EXPECT_GE(plays[0].first_key_frames_us, 0);  // its first key frame went out

    // A span without recordings ends at once; a stopped span sends no end notice.
    EXPECT_EQ(client.Ack(netproto::PlayStart{100, 200, 0x3, 0, 0}), 0);
    auto m = client.Next();
    ASSERT_TRUE(m);
    EXPECT_TRUE(std::holds_alternative<netproto::PlayEnd>(m->body));
    EXPECT_EQ(emulator_.Journal(0).play_requests.back().first_key_frames_us, -1);
    EXPECT_EQ(client.Ack(netproto::PlayStart{0, 86400, 0x3, 0, 0}), 0);
    EXPECT_EQ(client.Ack(netproto::PlayStop{}), 0);
    EXPECT_EQ(client.Ack(netproto::PlayStart{500, 400, 0x3, 0, 0}), -1);
}

TEST_F(ServerTest, CommandsParametersShellAndUploads) {
    Start({SmallRecorder(4)});
    TestClient client;
    LogIn(client);
    EXPECT_EQ(client.Ack(netproto::Command{{kNetCommandPtz, 9, 2, 1, 0}}), 0);
    EXPECT_EQ(emulator_.LampWord(0) & RecorderState::kRecordLamp, 0u);
    EXPECT_EQ(client.Ack(netproto::Command{{kNetCommandKey, 7, 0, 0, 0}}), 0);
    EXPECT_NE(emulator_.LampWord(0) & RecorderState::kRecordLamp, 0u);
    const auto lamps = client.Request<netproto::LampReply>(netproto::LampQuery{});
    ASSERT_TRUE(lamps);
    EXPECT_EQ(lamps->lamp_low & 0x20, 0x20);

    auto para = client.Request<netproto::ParaReply>(netproto::ParaGet{});
    ASSERT_TRUE(para);
    EXPECT_GE(para->result, 0);
    EXPECT_EQ(para->para.brightness[0], 50);
    para->para.brightness[3] = 77;
    EXPECT_EQ(client.Ack(netproto::ParaSet{para->para}), 0);
    EXPECT_EQ(emulator_.Para(0).brightness[3], 77);
    EXPECT_EQ(client.Request<netproto::ParaReply>(netproto::ParaGet{})->para.brightness[3], 77);

    EXPECT_EQ(client.Ack(netproto::Shell{"rm -rf /"}), 0);  // recorded, never run

    const auto app = sandbox_ / "recorder1/mnt/mtd/bin/app";
    EXPECT_EQ(client.Ack(netproto::UploadBegin{"/mnt/mtd/bin/app", 5}), 0);
    ASSERT_TRUE(client.Send(netproto::UploadChunk{{'h', 'e', 'l'}}));
    EXPECT_EQ(client.Ack(netproto::UploadEnd{}), -1);  // only 3 of 5 bytes arrived
    EXPECT_FALSE(std::filesystem::exists(app));
    EXPECT_EQ(client.Ack(netproto::UploadBegin{"/mnt/mtd/bin/app", 5}), 0);
    ASSERT_TRUE(client.Send(netproto::UploadChunk{{'h', 'e'}}));
    ASSERT_TRUE(client.Send(netproto::UploadChunk{{'l', 'l', 'o'}}));
    EXPECT_EQ(client.Ack(netproto::UploadEnd{}), 0);
    std::ifstream stored(app, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stored), {}), "hello");
    EXPECT_EQ(client.Ack(netproto::UploadBegin{"/mnt/../../etc/passwd", 1}), -1);
    EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(sandbox_), {}), 7)
        << "recorder1, mnt, mtd, bin, app, the recorder's keys/recorder1.pem and no leftovers";

    const RecorderJournal journal = emulator_.Journal(0);
    ASSERT_EQ(journal.commands.size(), 2u);
    EXPECT_EQ(journal.commands[0].nSubCode, 9);
    EXPECT_EQ(journal.commands[0].nChannel, 2);
    EXPECT_EQ(journal.shell_commands, std::vector<std::string>{"rm -rf /"});
    EXPECT_EQ(journal.para_sets, 1);
    ASSERT_EQ(journal.uploads.size(), 1u);
    EXPECT_EQ(journal.uploads[0].remote_path, "/mnt/mtd/bin/app");
    EXPECT_EQ(journal.uploads[0].stored_path, app);
    EXPECT_EQ(journal.uploads[0].size_bytes, 5u);

    // An ordinary user may look but not change the recorder.
    TestClient guest;
    LogIn(guest, "guest");
    EXPECT_EQ(guest.Ack(netproto::Shell{"reboot"}), -1);
    EXPECT_EQ(guest.Ack(netproto::Command{{kNetCommandKey, 7, 0, 0, 0}}), -1);
    EXPECT_LT(guest.Request<netproto::ParaReply>(netproto::ParaGet{})->result, 0);
    EXPECT_EQ(guest.Ack(netproto::UploadBegin{"/mnt/mtd/x", 1}), -1);
}

}  // namespace

namespace {

TEST_F(ServerTest, UploadPathsStayInTheSandbox) {
    Start({SmallRecorder(1)});
    const auto root = sandbox_ / "recorder1";
    const auto outside = sandbox_ / "outside";
    std::filesystem::create_directories(root / "mnt/mtd");
    std::filesystem::create_directories(outside);
    std::filesystem::create_directory_symlink(outside, root / "out");
    std::filesystem::create_directory_symlink("mnt/mtd", root / "mtd");
    std::ofstream(outside / "secret") << "keep";
    std::filesystem::create_symlink(outside / "secret", root / "mnt/secret");
    TestClient client;
    LogIn(client);
    const struct {
        const char* remote_path;
        int32_t ack;
    } cases[] = {
        {"/mnt/mtd/yuvfile/title.rgb", 0},  // the recorder's absolute paths lie below its root
        {"mtd/app", 0},                     // a link that stays inside
        {"/mnt/../../outside/x", -1},       // ".." never
        {"/out/x", -1},                     // a link leading out
        {"/out/new/folder/x", -1},
        {"/mnt/secret", -1},  // the file itself a link leading out
    };
    for (const auto& c : cases) {
        EXPECT_EQ(client.Ack(netproto::UploadBegin{c.remote_path, 1}), c.ack) << c.remote_path;
        if (c.ack != 0) continue;
        ASSERT_TRUE(client.Send(netproto::UploadChunk{{'x'}}));
        EXPECT_EQ(client.Ack(netproto::UploadEnd{}), 0) << c.remote_path;
    }
    EXPECT_TRUE(std::filesystem::exists(root / "mnt/mtd/yuvfile/title.rgb"));
    EXPECT_TRUE(std::filesystem::exists(root / "mnt/mtd/app"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outside), {}), 1);
    std::ifstream secret(outside / "secret");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(secret), {}), "keep");
}

TEST_F(ServerTest, UploadPastItsSizeEndsTheLinkAndKeepsNothing) {
    Start({SmallRecorder(1)});
    TestClient client;
    LogIn(client);
    EXPECT_EQ(client.Ack(netproto::UploadBegin{"/mnt/mtd/big", 2}), 0);
    ASSERT_TRUE(client.Send(netproto::UploadChunk{{1, 2, 3}}));
    EXPECT_FALSE(client.Next(3000));
    EXPECT_NE(client.LastError().find("closed"), std::string::npos) << client.LastError();
    ASSERT_TRUE(PollUntil([&] { return emulator_.LoggedInUsers(0).empty(); }));
    EXPECT_FALSE(std::filesystem::exists(sandbox_ / "recorder1/mnt/mtd/big"));
    EXPECT_TRUE(std::filesystem::is_empty(sandbox_ / "recorder1/mnt/mtd"));
    EXPECT_TRUE(emulator_.Journal(0).uploads.empty());
}

}  // namespace

namespace {

#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedHeap = true;
#elif defined(__has_feature)
constexpr bool kSanitizedHeap = __has_feature(address_sanitizer) || __has_feature(thread_sanitizer);
#else
constexpr bool kSanitizedHeap = false;
#endif

// A message header as a misbehaving client would send it.
std::vector<uint8_t> HeaderOf(netproto::MsgType type, uint32_t payload_bytes) {
    std::vector<uint8_t> bytes(netproto::kHeaderBytes);
    const auto put = [&](std::size_t at, uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    put(0, netproto::kMagic, 4);
    put(4, netproto::kVersion, 2);
    put(6, static_cast<uint16_t>(type), 2);
    put(8, 1, 4);
    put(12, payload_bytes, 4);
    return bytes;
}

TEST_F(ServerTest, MessagesAClientMayNotSendAreRefusedFromTheirHeader) {
    Start({SmallRecorder(1)});
    using netproto::MsgType;
    constexpr uint32_t kFrameBytes = netproto::kMaxPayloadBytes;
    const struct {
        bool logged_in;
        MsgType type;
        uint32_t payload_bytes;
    } cases[] = {
        {false, MsgType::kFrame, kFrameBytes},  // the recorder's to send
        {false, MsgType::kUploadChunk, 65536},  // needs a log-in
        {false, MsgType::kShell, 1024},         // needs a log-in
        {true, MsgType::kFrame, kFrameBytes},   // the recorder's to send
        {true, MsgType::kRecListReply, 8},      // the recorder's to send
    };
    for (const auto& c : cases) {
        TestClient client;
        if (c.logged_in) {
            // The super user of the case before may still be on its way out.
            ASSERT_TRUE(PollUntil([&] { return emulator_.LoggedInUsers(0).empty(); }));
            LogIn(client);
        } else {
            ASSERT_TRUE(client.Connect(emulator_.Port(0)));
        }
        // Only the header: the payload it announces never comes, and is not waited for.
        ASSERT_TRUE(client.SendBytes(HeaderOf(c.type, c.payload_bytes)));
        EXPECT_TRUE(client.ClosedByPeer(kPollLimit_ms))
            << netproto::TypeName(c.type) << (c.logged_in ? " logged in" : "");
    }
}

TEST_F(ServerTest, FramesFromClientsNotLoggedInLeaveMemoryFlat) {
    Start({SmallRecorder(1)});
    // Clients that never log in send whole frames: nothing of them is kept.
    std::vector<uint8_t> frame = HeaderOf(netproto::MsgType::kFrame, netproto::kMaxPayloadBytes);
    frame.resize(netproto::kHeaderBytes + netproto::kMaxPayloadBytes);
    const int64_t before_bytes = ResidentBytes();
    std::vector<std::unique_ptr<TestClient>> senders;
    std::vector<std::thread> sending;
    for (int i = 0; i < 48; ++i) {
        senders.push_back(std::make_unique<TestClient>());
        if (!senders.back()->Connect(emulator_.Port(0))) continue;
        sending.emplace_back([&frame, client = senders.back().get()] { client->SendBytes(frame); });
    }
    for (std::thread& thread : sending)
        thread.join();
    const int64_t grown_bytes = ResidentBytes() - before_bytes;
    std::printf("memory after 48 frames from clients not logged in: %+.1f MiB\n",
                grown_bytes / 1048576.0);
    // The sanitizers' own state outgrows the bound, not the frames: the thread sanitizer's for 48
    // threads, and the address sanitizer's quarantine, which keeps the freed blocks of all 96 TLS
    // handshakes resident.
    if (!kSanitizedHeap) {
        EXPECT_LT(grown_bytes, 16 << 20);
    }
    EXPECT_EQ(sending.size(), 48u);

    TestClient honest;
    LogIn(honest);
}

TEST(EmulatorStart, RefusesBadConfigsAndTakenPortsLeavingNothingRunning) {
    TestFolder folder("start");
    const auto sandbox = folder.Path();
    RecorderEmulator first;
    std::string error;
    ASSERT_TRUE(first.Start({SmallRecorder(1)}, sandbox, &error)) << error;

    RecorderConfig taken = SmallRecorder(1);
    taken.port = first.Port(0);
    RecorderEmulator second;
    EXPECT_FALSE(second.Start({SmallRecorder(1), taken}, sandbox, &error));
    EXPECT_NE(error.find("recorder 2"), std::string::npos) << error;
    EXPECT_EQ(second.Count(), 0u);

    RecorderConfig no_users = SmallRecorder(1);
    no_users.users.clear();
    EXPECT_FALSE(second.Start({no_users}, sandbox, &error));
    EXPECT_NE(error.find("recorder 1: at least one user"), std::string::npos) << error;
}

}  // namespace
