#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/ConfigValues.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/EmulatorConfigFile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const int64_t kToday = DayNumberOf({2009, 8, 28});

TEST(ConfigValues, IntegersAreStrict) {
    EXPECT_EQ(ParseInteger("42"), 42);
    EXPECT_EQ(ParseInteger(" 0x1f "), 31);
    EXPECT_EQ(ParseInteger("-7"), -7);
    EXPECT_FALSE(ParseInteger(""));
    EXPECT_FALSE(ParseInteger("12abc"));
    EXPECT_FALSE(ParseInteger("--5"));
    EXPECT_FALSE(ParseInteger("0x"));
}

TEST(ConfigValues, CodecWords) {
    EXPECT_EQ(ParseCodecWord("H264"), kH264CodecWord);
    EXPECT_EQ(ParseCodecWord("mpeg4"), kMpeg4CodecWord);
    EXPECT_EQ(ParseCodecWord("0x10001000"), kH264CodecWord);
    EXPECT_EQ(ParseCodecWord("7"), 7);
    EXPECT_FALSE(ParseCodecWord("h265"));
}

TEST(ConfigValues, UsersNeedNamePasswordAndLevel) {
    const auto users = ParseUsers("admin:secret:2, guest::1");
    ASSERT_TRUE(users);
    ASSERT_EQ(users->size(), 2u);
    EXPECT_EQ((*users)[0].name, "admin");
    EXPECT_EQ((*users)[0].password, "secret");
    EXPECT_EQ((*users)[0].level, 2);
    EXPECT_EQ((*users)[1].password, "");
    EXPECT_FALSE(ParseUsers("admin:secret"));
    EXPECT_FALSE(ParseUsers("admin:a:3"));
    EXPECT_FALSE(ParseUsers(":a:1"));
    EXPECT_FALSE(ParseUsers("a:x:1,a:y:2"));
}

TEST(ConfigValues, PerChannelValuesTakeOneOrAll) {
    EXPECT_EQ(ParsePerChannel("2", 4), (std::vector<int>{2, 2, 2, 2}));
    EXPECT_EQ(ParsePerChannel("0,1,2,2", 4), (std::vector<int>{0, 1, 2, 2}));
    EXPECT_FALSE(ParsePerChannel("0,1", 4));
}

TEST(ConfigValues, ScheduleSpansAndRepeats) {
    const auto plain = ParseSchedule("13:00-18:00/0xffff; 08:00:30-12:00/0x3");
    ASSERT_TRUE(plain);
    ASSERT_EQ(plain->size(), 2u);
    EXPECT_EQ((*plain)[0].start_s, 8 * 3600 + 30);  // sorted by start
    EXPECT_EQ((*plain)[0].channel_mask, 0x3u);
    EXPECT_EQ((*plain)[1].end_s, 18 * 3600);

    // 400 recordings of 3 minutes, the last one cut by the end of the span.
    const auto many = ParseSchedule("00:00-24:00/1 @216x180");
    ASSERT_TRUE(many);
    ASSERT_EQ(many->size(), 400u);
    EXPECT_EQ(many->back().start_s, 399 * 216);
    EXPECT_EQ(many->back().end_s, 399 * 216 + 180);
    const auto cut = ParseSchedule("10:00-10:05/1 @120x100");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->back().end_s, 10 * 3600 + 300);

    EXPECT_TRUE(ParseSchedule("")->empty());
    EXPECT_EQ(ParseSchedule("00:00-24:00/1 @5x4")->size(), 17280u);
    EXPECT_FALSE(ParseSchedule("00:00-24:00/1 @4x4"));  // over kMaxScheduleRecords
    for (const char* bad : {"08:00-07:00/1", "08:00-09:00", "08:00-09:00/0", "25:00-26:00/1",
                            "08:60-09:00/1", "08:00-09:00/1 @100x200", "08:00-09:00/0x10000"}) {
        EXPECT_FALSE(ParseSchedule(bad)) << bad;
    }
}

TEST(ConfigValues, RecordDays) {
    const auto range = ParseRecordDays("2009-07-15..2009-08-28", kToday);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, DayNumberOf({2009, 7, 15}));
    EXPECT_EQ(range->second, kToday);
    EXPECT_EQ(ParseRecordDays("3", kToday), std::pair(kToday - 2, kToday));
    EXPECT_FALSE(ParseRecordDays("2009-02-29..2009-03-01", kToday));
    EXPECT_FALSE(ParseRecordDays("2009-08-28..2009-08-01", kToday));
    EXPECT_FALSE(ParseRecordDays("0", kToday));
}

class ConfigFileTest : public ::testing::Test {
protected:
    void Write(const std::string& text) { std::ofstream(path_) << text; }
    TestFolder folder_;
    const std::string path_ = (folder_.Path() / "emulator.ini").string();
};

TEST_F(ConfigFileTest, ReadsEveryRecorder) {
    Write(
        "[emulator]\nrecorders = 2\nlookup_port = 0\nsandbox = /tmp/box\n"
        "[recorder1]\nname = DVR0001\nport = 6802\ntype = 7004\ncodec = mpeg4\n"
        "size = 0,1,2,2\nstandard = 1\nusers = root:pw:2\nmax_users = 3\ndisks = 2\n"
        "lamps = 0x0102\naudio_mask = 0x1\naudio_block_bytes = 4096\n"
        "schedule = 08:00-09:00/0x3\nrecord_days = 2009-08-01..2009-08-02\n"
        "[recorder2]\n");
    std::string error;
    const auto setup = LoadEmulatorConfig(path_, kToday, &error);
    ASSERT_TRUE(setup) << error;
    EXPECT_EQ(setup->lookup_port, 0);
    EXPECT_EQ(setup->sandbox, "/tmp/box");
    ASSERT_EQ(setup->recorders.size(), 2u);
    const RecorderConfig& a = setup->recorders[0];
    EXPECT_EQ(a.name, "DVR0001");
    EXPECT_EQ(a.port, 6802);
    EXPECT_EQ(a.channel_count, 4);  // from the type code
    EXPECT_EQ(a.Codec(), VideoCodec::kMpeg4);
    EXPECT_EQ(a.channel_formats[0].size_code, 0);
    EXPECT_EQ(a.channel_formats[3].size_code, 2);
    EXPECT_EQ(a.channel_formats[3].standard, 1);
    EXPECT_EQ(a.max_users, 3);
    EXPECT_EQ(a.disk_count, 2);
    EXPECT_EQ(a.lamp_word, 0x0102u);
    EXPECT_EQ(a.audio_block_bytes, 4096);
    EXPECT_EQ(a.first_record_day, DayNumberOf({2009, 8, 1}));
    ASSERT_EQ(a.users.size(), 1u);

    const RecorderConfig& b = setup->recorders[1];  // all defaults
    EXPECT_EQ(b.channel_count, 16);
    EXPECT_EQ(b.Codec(), VideoCodec::kH264);
    EXPECT_EQ(b.users.size(), 2u);
    EXPECT_EQ(b.last_record_day, kToday);
}

TEST_F(ConfigFileTest, ErrorsNameTheSectionAndKey) {
    std::string error;
    EXPECT_FALSE(LoadEmulatorConfig(path_ + ".missing", kToday, &error));
    EXPECT_NE(error.find("no such config file"), std::string::npos);

    Write("[emulator]\n");
    EXPECT_FALSE(LoadEmulatorConfig(path_, kToday, &error));
    EXPECT_NE(error.find("recorders"), std::string::npos);

    Write("[emulator]\nrecorders = 2\n[recorder2]\nsize = 3\n");
    EXPECT_FALSE(LoadEmulatorConfig(path_, kToday, &error));
    EXPECT_NE(error.find("[recorder2] size"), std::string::npos) << error;

    Write("[emulator]\nrecorders = 1\n[recorder1]\nport = 70000\n");
    EXPECT_FALSE(LoadEmulatorConfig(path_, kToday, &error));
    EXPECT_NE(error.find("[recorder1] port: cannot read '70000'"), std::string::npos) << error;

    Write("[emulator]\nrecorders = 1\n[recorder1]\nusers = " + std::string(65, 'u') + ":p:2\n");
    EXPECT_FALSE(LoadEmulatorConfig(path_, kToday, &error));
    EXPECT_NE(error.find("could never log in"), std::string::npos) << error;

    Write("[emulator]\nrecorders = 1\n[recorder1]\naudio_block_bytes = 1000\n");
    EXPECT_FALSE(LoadEmulatorConfig(path_, kToday, &error));
    EXPECT_NE(error.find("320 or 4096"), std::string::npos) << error;
}

}  // namespace
