#include "liveview/core/store/UserStoreFormat.h"

#include <gtest/gtest.h>

#include <string>

#include "liveview/core/tests/StoreBytes.h"

namespace {

UserStoreContent TwoDevices() {
    UserStoreContent content;
    content.devices.AddDvr("192.168.0.9:6802", "6802", "abc", "pw", "Gate");
    content.devices.AddDvr("lookup.example/ABCDEF", "", "op", "", "Yard");
    _DVR_SETTINGS_ settings;
    content.devices.GetDvr(1, settings);
    settings.channel_mask = 0x00f0;
    settings.frame_rate_index = 0;
    settings.quality_index = 1;
    settings.send_audio = 1;
    settings.auto_connect = 1;
    content.devices.UpdateDvr(1, settings);
    content.record_directory = "/home/op/rec";
    content.admin_password = "abc";
    content.user_password = "9";
    content.password_on = 1;
    content.window_map[0] = 103;
    content.window_map[255] = 0;
    return content;
}

}  // namespace

TEST(UserStoreFormat, FieldsSitAtTheirOffsets) {
    const std::vector<uint8_t> bytes = EncodeUserStore(TwoDevices());
    ASSERT_EQ(bytes.size(), kStoreBytes);

    EXPECT_EQ(BytesAt(bytes, 0, 17), std::string("192.168.0.9:6802\0", 17));
    EXPECT_EQ(BytesAt(bytes, 50, 5), std::string("6802\0", 5));
    EXPECT_EQ(BytesAt(bytes, 60, 4), std::string("\x5E\x5D\x5C\0", 4));  // "abc" scrambled
    EXPECT_EQ(BytesAt(bytes, 70, 3), std::string("\x72\x6B\0", 3));      // "pw" scrambled
    EXPECT_EQ(BytesAt(bytes, 80, 5), std::string("Gate\0", 5));
    EXPECT_EQ(bytes[130], 1);
    EXPECT_EQ(Int32At(bytes, 132), 0xffff);
    EXPECT_EQ(Int32At(bytes, 136), 2);
    EXPECT_EQ(Int32At(bytes, 140), 2);
    EXPECT_EQ(Int32At(bytes, 152), 0);  // map point 0: placed flag, then d1 = 1
    EXPECT_EQ(Int32At(bytes, 156), 1);
    EXPECT_EQ(Int32At(bytes, 152 + 15 * 32 + 4), 1);

    const std::size_t second = kRecordBytes;
    EXPECT_EQ(BytesAt(bytes, second, 22), std::string("lookup.example/ABCDEF\0", 22));
    EXPECT_EQ(bytes[second + 50], 0);  // empty port text
    EXPECT_EQ(bytes[second + 130], 1);
    EXPECT_EQ(Int32At(bytes, second + 132), 0xf0);
    EXPECT_EQ(Int32At(bytes, second + 136), 0);
    EXPECT_EQ(Int32At(bytes, second + 140), 1);
    EXPECT_EQ(Int32At(bytes, second + 144), 1);
    EXPECT_EQ(Int32At(bytes, second + 148), 1);
    EXPECT_EQ(bytes[2 * kRecordBytes + 130], 0);

    EXPECT_EQ(BytesAt(bytes, kRecordDirectoryAt, 13), std::string("/home/op/rec\0", 13));
    EXPECT_EQ(BytesAt(bytes, kAdminPasswordAt, 4), std::string("\x5E\x5D\x5C\0", 4));
    EXPECT_EQ(BytesAt(bytes, kUserPasswordAt, 2), std::string("\x34\0", 2));
    EXPECT_EQ(bytes[kPasswordFlagAt], 1);
    EXPECT_EQ(Int32At(bytes, kWindowMapAt), 103);
    EXPECT_EQ(Int32At(bytes, kWindowMapAt + 4), -1);
    EXPECT_EQ(Int32At(bytes, kWindowMapAt + 255 * 4), 0);
}

TEST(UserStoreFormat, RoundTripsAndAShortStoreKeepsWhatLiesBeforeTheCut) {
    const UserStoreContent saved = TwoDevices();
    UserStoreContent loaded;
    EXPECT_EQ(DecodeUserStore(EncodeUserStore(saved), loaded), UssLoadStatus::kLoaded);
    EXPECT_EQ(loaded, saved);

    // The store is read part by part: what lies whole before the cut is taken, the devices
    // once all 64 records lie whole, the window map only from a whole store.
    const UserStoreContent fresh;
    const struct {
        std::size_t size;
        bool devices, directory, admin, user, flag;
    } cuts[] = {{0, false, false, false, false, false},
                {42495, false, false, false, false, false},
                {kRecordDirectoryAt, true, false, false, false, false},
                {kAdminPasswordAt, true, true, false, false, false},
                {kUserPasswordAt + 50, true, true, true, false, false},
                {43053, true, true, true, true, true},
                {kStoreBytes - 1, true, true, true, true, true}};
    for (const auto& cut : cuts) {
        std::vector<uint8_t> bytes = EncodeUserStore(saved);
        bytes.resize(cut.size);
        UserStoreContent partial;
        EXPECT_EQ(DecodeUserStore(bytes, partial), UssLoadStatus::kShortFile) << cut.size;
        UserStoreContent expected;
        if (cut.devices) expected.devices = saved.devices;
        if (cut.directory) expected.record_directory = saved.record_directory;
        if (cut.admin) expected.admin_password = saved.admin_password;
        if (cut.user) expected.user_password = saved.user_password;
        if (cut.flag) expected.password_on = saved.password_on;
        EXPECT_EQ(partial, expected) << cut.size;
    }
}

TEST(UserStoreFormat, InUseBytesCountTheDevices) {
    std::vector<uint8_t> bytes = EncodeUserStore(UserStoreContent{});
    bytes[130] = 1;
    bytes[kRecordBytes + 130] = 1;
    UserStoreContent loaded;
    EXPECT_EQ(DecodeUserStore(bytes, loaded), UssLoadStatus::kLoaded);
    EXPECT_EQ(loaded.devices.GetDvrCount(), 2);

    bytes[2 * kRecordBytes + 130] = 2;  // neither in use nor free: taken as free, and mended
    EXPECT_EQ(DecodeUserStore(bytes, loaded), UssLoadStatus::kRepaired);
    EXPECT_EQ(loaded.devices.GetDvrCount(), 2);
    EXPECT_EQ(loaded.devices.Entry(2).settings.in_use, 0);
}

TEST(UserStoreFormat, OverlongTextsAreCutInsideTheirFields) {
    UserStoreContent content;
    // 48 ASCII bytes and a 3-byte character: the character would end past byte 49.
    const std::string address = std::string(48, 'a') + "\xE4\xB8\xAD";
    content.devices.AddDvr(address, "123456789012", "username12", "pass", std::string(60, 's'));
    content.record_directory = std::string(300, 'd');
    content.admin_password = std::string(120, '7');
    const std::vector<uint8_t> bytes = EncodeUserStore(content);

    EXPECT_EQ(BytesAt(bytes, 0, 49), std::string(48, 'a') + '\0');
    EXPECT_EQ(BytesAt(bytes, 50, 10), std::string("123456789\0", 10));
    // The user is cut to its first nine bytes, then scrambled.
    std::string user = BytesAt(bytes, 60, 9);
    EXPECT_EQ(bytes[69], 0);
    EXPECT_EQ(user, "\x2C\x60\x68\x5C\x69\x6D\x60\x6E\x70");  // "username1" scrambled
    EXPECT_EQ(BytesAt(bytes, 70, 5), std::string("\x6E\x6E\x5C\x6B\0", 5));
    EXPECT_EQ(bytes[80 + 49], 0);
    EXPECT_EQ(bytes[130], 1);
    EXPECT_EQ(bytes[kRecordDirectoryAt + 255], 0);
    EXPECT_EQ(bytes[kAdminPasswordAt + 99], 0);
    EXPECT_EQ(BytesAt(bytes, kUserPasswordAt, 7), std::string("\x2F\x2B\x31\x33\x30\x2D\0", 7));

    UserStoreContent loaded;
    EXPECT_EQ(DecodeUserStore(bytes, loaded), UssLoadStatus::kLoaded);
    EXPECT_EQ(loaded.devices.Entry(0).settings.address, std::string(48, 'a'));
    EXPECT_EQ(loaded.devices.Entry(0).settings.user, "username1");
    EXPECT_EQ(loaded.record_directory, std::string(255, 'd'));
    EXPECT_EQ(loaded.admin_password, std::string(99, '7'));
}

TEST(UserStoreFormat, TextsWithoutTerminatorAreCutAndReportedRepaired) {
    std::vector<uint8_t> bytes = EncodeUserStore(UserStoreContent{});
    bytes[130] = 1;
    PutBytes(bytes, 0, std::string(50, 'x'));
    PutBytes(bytes, 50, "0123456789");
    PutBytes(bytes, kRecordDirectoryAt, std::string(256, 'r'));
    UserStoreContent loaded;
    EXPECT_EQ(DecodeUserStore(bytes, loaded), UssLoadStatus::kRepaired);
    EXPECT_EQ(loaded.devices.Entry(0).settings.address, std::string(49, 'x'));
    EXPECT_EQ(loaded.devices.Entry(0).settings.port_text, "012345678");
    EXPECT_EQ(loaded.devices.Entry(0).settings.show_name, "");
    EXPECT_EQ(loaded.record_directory, std::string(255, 'r'));
}

TEST(UserStoreFormat, AStoreWithGapsComesBackUnchanged) {
    UserStoreContent content;
    for (const char* name : {"a:1", "b:1", "c:1"})
        content.devices.AddDvr(name, "", "", "", name);
    std::vector<uint8_t> bytes = EncodeUserStore(content);
    bytes[kRecordBytes + 130] = 0;  // in-use bytes 1, 0, 1
    PutInt32(bytes, kWindowMapAt + 0 * 4, MakeChannelKey(5, 5));
    PutInt32(bytes, kWindowMapAt + 1 * 4, MakeChannelKey(2, 7));
    PutInt32(bytes, kWindowMapAt + 2 * 4, 999999);

    UserStoreContent loaded;
    EXPECT_EQ(DecodeUserStore(bytes, loaded), UssLoadStatus::kLoaded);
    // Each record stays in its slot; the count is the number of records in use.
    ASSERT_EQ(loaded.devices.GetDvrCount(), 2);
    EXPECT_EQ(loaded.devices.Entry(1).settings.address, "b:1");
    EXPECT_EQ(loaded.devices.Entry(1).settings.in_use, 0);
    EXPECT_EQ(loaded.devices.Entry(2).settings.address, "c:1");
    EXPECT_EQ(loaded.devices.Entry(2).settings.in_use, 1);
    EXPECT_EQ(loaded.window_map[0], 505);
    EXPECT_EQ(loaded.window_map[1], 207);
    EXPECT_EQ(EncodeUserStore(loaded), bytes);
}

TEST(UserStoreFormat, MapPointsAndOddValuesComeBackAsStored) {
    UserStoreContent content;
    content.devices.AddDvr("a:1", "", "", "", "");
    std::vector<uint8_t> bytes = EncodeUserStore(content);
    for (int i = 0; i < 16 * 8; ++i)
        PutInt32(bytes, 152 + i * 4, i * 1000 - 5);
    PutInt32(bytes, 136, 9);   // frame-rate index outside the list
    PutInt32(bytes, 132, -1);  // every channel
    bytes[kPasswordFlagAt] = 2;
    UserStoreContent loaded;
    ASSERT_EQ(DecodeUserStore(bytes, loaded), UssLoadStatus::kLoaded);
    EXPECT_EQ(loaded.devices.Entry(0).map_points[15].nY, 127 * 1000 - 5);
    EXPECT_EQ(loaded.devices.Entry(0).settings.frame_rate_index, 9);
    EXPECT_EQ(loaded.password_on, 0);

    std::vector<uint8_t> again = EncodeUserStore(loaded);
    again[kPasswordFlagAt] = 2;
    EXPECT_EQ(again, bytes);
}
