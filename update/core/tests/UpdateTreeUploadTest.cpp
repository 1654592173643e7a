#include <gtest/gtest.h>

#include <fstream>

#include "update/core/RemotePath.h"
#include "update/core/UpdateTreeUpload.h"
#include "update/core/tests/RecorderFixture.h"

namespace {

class UpdateTreeUploadTest : public RecorderFixture {
protected:
    void SetUp() override {
        StartRecorder(1016);
        LogIn();
    }

    // A file of the update folder ~/update as the test's folder holds it.
    void Put(const std::string& relative, std::uintmax_t size_bytes = 3) {
        const std::filesystem::path path = update_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "abc";
        std::filesystem::resize_file(path, size_bytes);
    }
    UpdateOutcome Upload(std::string folder) {
        UpdateTreeUpload upload(net_, [&](const std::string& text) { progress_.push_back(text); });
        return upload.UploadUpdateFolder(folder);
    }

    const std::filesystem::path update_ = folder_.Path() / "update";
    std::vector<std::string> progress_;
};

const std::vector<std::string> kStartCommands = {"chmod 777 /mnt/mtd/net_update_start.sh",
                                                 "/mnt/mtd/net_update_start.sh"};
const std::vector<std::string> kEndCommands = {"chmod 777 /mnt/mtd/net_update_end.sh",
                                               "/mnt/mtd/net_update_end.sh"};

}  // namespace

TEST(RemotePathTest, FollowsTheFirstUpdateFolder) {
    const struct {
        const char* local;
        const char* remote;
    } cases[] = {
        {"/home/op/update/bin/app", "/mnt/mtd/bin/app"},
        {"/srv/fw/update/net_update_end.sh", "/mnt/mtd/net_update_end.sh"},
        {"/home/op/myupdate/lib/x", "/mnt/mtd/lib/x"},
        {"/home/op/Update/x", "/mnt/mtd/x"},  // no marker: relative to the folder
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeRemotePath(c.local, "/home/op/Update"), c.remote);
}

TEST_F(UpdateTreeUploadTest, SendsTheTreeBetweenItsScripts) {
    Put("net_update_start.sh");
    Put("net_update_end.sh");
    Put("bin/app");
    Put("Lib/a.so");
    ASSERT_EQ(Upload(update_.string() + "/"), UpdateOutcome::kDone);

    const RecorderJournal journal = emulator_.Journal(0);
    std::vector<std::string> commands = kStartCommands;
    commands.insert(commands.end(), kEndCommands.begin(), kEndCommands.end());
    EXPECT_EQ(journal.shell_commands, commands);
    EXPECT_EQ(Uploads(),
              (std::vector<std::string>{"/mnt/mtd/net_update_start.sh", "/mnt/mtd/bin/app",
                                        "/mnt/mtd/Lib/a.so", "/mnt/mtd/net_update_end.sh",
                                        "/mnt/mtd/net_update_start.sh"}));
    EXPECT_EQ(progress_.at(1), "Send " + update_.string() + "/bin/app ...,Wait..");
}

// A folder link back into the tree would keep the walk going for ever.
TEST_F(UpdateTreeUploadTest, FolderLoopFailsTheUpload) {
    Put("net_update_start.sh");
    Put("net_update_end.sh");
    Put("bin/app");
    std::filesystem::create_directory_symlink(update_, update_ / "bin" / "loop");
    EXPECT_EQ(Upload(update_.string()), UpdateOutcome::kSendFailed);
    EXPECT_EQ(emulator_.Journal(0).shell_commands, kStartCommands);
}
