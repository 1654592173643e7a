#include "liveview/core/store/UserStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "liveview/core/tests/StoreBytes.h"
#include "platform/profile/ProgramFolder.h"
#include "tests/support/TestFolder.h"

namespace {

class UserStoreTest : public ::testing::Test {
protected:
    std::string StorePath() const { return (folder_ / "uss.dat").string(); }

    void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    std::vector<uint8_t> ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TestFolder test_folder_;
    const std::filesystem::path folder_ = test_folder_.Path();
};

UserStoreContent OneDevice() {
    UserStoreContent content;
    content.devices.AddDvr("10.1.1.1:6802", "6802", "admin", "1234", "Door");
    content.window_map[4] = 12;
    return content;
}

}  // namespace

TEST_F(UserStoreTest, DefaultPathIsBesideTheProgramsFolder) {
    EXPECT_EQ(CUserStore().Path(), ParentFolder(ProgramFolder()) + "/uss.dat");
}

TEST_F(UserStoreTest, FirstStartHasNoFileAndKeepsTheDefaults) {
    CUserStore store(StorePath());
    UserStoreContent content;
    EXPECT_EQ(store.Load(content), UssLoadStatus::kNoFile);
    EXPECT_EQ(content, UserStoreContent{});
    EXPECT_EQ(content.admin_password, "470319");
    EXPECT_EQ(content.user_password, "258604");
    EXPECT_EQ(content.password_on, 0);
    EXPECT_FALSE(content.record_directory.empty());
}

TEST_F(UserStoreTest, SaveThenLoadGivesTheSameStore) {
    CUserStore store(StorePath());
    ASSERT_EQ(store.Save(OneDevice()), 1);
    EXPECT_EQ(std::filesystem::file_size(StorePath()), kStoreBytes);
    UserStoreContent loaded;
    EXPECT_EQ(CUserStore(StorePath()).Load(loaded), UssLoadStatus::kLoaded);
    EXPECT_EQ(loaded, OneDevice());
    // Only the store itself is left in the folder: no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(UserStoreTest, NewStoreIsPrivateAndAnExistingOneKeepsItsMode) {
    CUserStore store(StorePath());
    ASSERT_EQ(store.Save(OneDevice()), 1);
    EXPECT_EQ(std::filesystem::status(StorePath()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ::chmod(StorePath().c_str(), 0640);
    ASSERT_EQ(store.Save(OneDevice()), 1);
    struct stat info {};
    ASSERT_EQ(::stat(StorePath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(UserStoreTest, BytesBeyondTheStoreAreKept) {
    std::vector<uint8_t> old_file = EncodeUserStore(UserStoreContent{});
    const std::string tail = "written by something else";
    old_file.insert(old_file.end(), tail.begin(), tail.end());
    WriteFile(StorePath(), old_file);

    CUserStore store(StorePath());
    UserStoreContent content;
    ASSERT_EQ(store.Load(content), UssLoadStatus::kLoaded);
    EXPECT_EQ(content.devices.GetDvrCount(), 0);
    ASSERT_EQ(store.Save(OneDevice()), 1);
    const std::vector<uint8_t> saved = ReadFile(StorePath());
    ASSERT_EQ(saved.size(), kStoreBytes + tail.size());
    EXPECT_EQ(BytesAt(saved, kStoreBytes, tail.size()), tail);
    EXPECT_EQ(saved[130], 1);
}

TEST_F(UserStoreTest, ShortFileLoadsNothingAndIsKeptAsideAtTheNextSave) {
    std::vector<uint8_t> old_file(42495, 0);
    old_file[130] = 1;
    PutBytes(old_file, 0, "kept:1");
    WriteFile(StorePath(), old_file);

    CUserStore store(StorePath());
    UserStoreContent content;
    EXPECT_EQ(store.Load(content), UssLoadStatus::kShortFile);
    EXPECT_EQ(content, UserStoreContent{});

    ASSERT_EQ(store.Save(OneDevice()), 1);
    EXPECT_EQ(ReadFile(store.DamagedPath()), old_file);
    EXPECT_EQ(std::filesystem::file_size(StorePath()), kStoreBytes);
    // The damaged copy is taken once: a later save must not overwrite it with a good store.
    ASSERT_EQ(store.Save(UserStoreContent{}), 1);
    EXPECT_EQ(ReadFile(store.DamagedPath()), old_file);
}

TEST_F(UserStoreTest, AStoreCutAfterItsRecordsGivesItsDevicesAndIsKeptAsideAtLoad) {
    UserStoreContent saved;
    for (int a = 0; a < 64; ++a)
        saved.devices.AddDvr("10.1.1.1:" + std::to_string(6000 + a), "", "admin", "pw", "D");
    ASSERT_EQ(CUserStore(StorePath()).Save(saved), 1);
    std::filesystem::resize_file(StorePath(), 43000);
    const std::vector<uint8_t> old_file = ReadFile(StorePath());

    CUserStore store(StorePath());
    UserStoreContent content;
    EXPECT_EQ(store.Load(content), UssLoadStatus::kShortFile);
    EXPECT_EQ(content.devices, saved.devices);
    EXPECT_EQ(store.KeepDamagedCopy(), store.DamagedPath());
    EXPECT_EQ(ReadFile(store.DamagedPath()), old_file);
    // Kept once: neither a second call nor the save puts the new store in its place.
    EXPECT_EQ(store.KeepDamagedCopy(), "");
    ASSERT_EQ(store.Save(content), 1);
    EXPECT_EQ(ReadFile(store.DamagedPath()), old_file);
    EXPECT_EQ(std::filesystem::file_size(StorePath()), kStoreBytes);
}

TEST_F(UserStoreTest, AGoodStoreLeavesNoDamagedCopy) {
    CUserStore(StorePath()).Save(OneDevice());
    CUserStore store(StorePath());
    UserStoreContent content;
    ASSERT_EQ(store.Load(content), UssLoadStatus::kLoaded);
    EXPECT_EQ(store.KeepDamagedCopy(), "");
    ASSERT_EQ(store.Save(content), 1);
    EXPECT_FALSE(std::filesystem::exists(store.DamagedPath()));
}

TEST_F(UserStoreTest, UnwritableOrUnreadablePlacesFailWithoutHarm) {
    CUserStore missing_folder((folder_ / "gone" / "uss.dat").string());
    EXPECT_EQ(missing_folder.Save(OneDevice()), -1);

    std::filesystem::create_directories(StorePath());  // a folder where the file should be
    CUserStore store(StorePath());
    UserStoreContent content;
    EXPECT_EQ(store.Load(content), UssLoadStatus::kReadError);
    EXPECT_EQ(content, UserStoreContent{});
    EXPECT_EQ(store.Save(OneDevice()), -1);
    EXPECT_TRUE(std::filesystem::is_directory(StorePath()));
}
