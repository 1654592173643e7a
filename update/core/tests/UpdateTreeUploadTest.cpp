#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <functional>

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

// Only regular files that lie inside the folder go out, whatever the tree's links and special
// files lead to; the rest is named, and the upload goes on without it.
TEST_F(UpdateTreeUploadTest, OnlyRegularFilesOfTheFolderAreSent) {
    const std::filesystem::path outside = folder_.Path() / "outside";
    std::filesystem::create_directories(outside / "etc");
    std::ofstream(outside / "secret") << "secret";
    std::ofstream(outside / "etc" / "passwd") << "root";
    Put("net_update_start.sh");
    Put("net_update_end.sh");
    Put("bin/app");
    const struct {
        const char* entry;
        std::function<void(const std::filesystem::path&)> make;
    } cases[] = {
        {"a_secret", [&](auto& p) { std::filesystem::create_symlink(outside / "secret", p); }},
        {"b_etc", [&](auto& p) { std::filesystem::create_directory_symlink(outside / "etc", p); }},
        {"bin/c_loop", [&](auto& p) { std::filesystem::create_directory_symlink(update_, p); }},
        {"bin/d_up", [&](auto& p) { std::filesystem::create_symlink("../../outside/secret", p); }},
        {"e_fifo", [](auto& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"f_dangling", [&](auto& p) { std::filesystem::create_symlink(update_ / "none", p); }},
        {"g_app", [&](auto& p) { std::filesystem::create_symlink("bin/app", p); }},
    };
    for (const auto& c : cases)
        c.make(update_ / c.entry);
    std::vector<std::string> left_out;
    for (const char* entry :
         {"a_secret", "bin/c_loop", "bin/d_up", "b_etc", "e_fifo", "f_dangling"}) {
        left_out.push_back((update_ / entry).string());
    }

    UpdateTreeUpload upload(net_, nullptr);
    ASSERT_EQ(upload.UploadUpdateFolder(update_.string()), UpdateOutcome::kDone);
    EXPECT_EQ(Uploads(), (std::vector<std::string>{
                             "/mnt/mtd/net_update_start.sh", "/mnt/mtd/bin/app", "/mnt/mtd/g_app",
                             "/mnt/mtd/net_update_end.sh", "/mnt/mtd/net_update_start.sh"}));
    EXPECT_EQ(upload.LeftOut(), left_out);
    for (const UploadedFile& file : emulator_.Journal(0).uploads) {
        EXPECT_EQ(file.size_bytes, 3u) << file.remote_path;
    }
}

// The scripts run on the recorder, so each must be a regular file of the folder itself;
// otherwise nothing at all is sent or run.
TEST_F(UpdateTreeUploadTest, ScriptsThatAreNotFilesOfTheFolderSendNothing) {
    std::ofstream(folder_.Path() / "passwd") << "root";
    const struct {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
    } cases[] = {
        {"start links out",
         [&](auto& p) {
             std::filesystem::create_symlink(folder_.Path() / "passwd", p / kStartScript);
             Put(kEndScript);
         }},
        {"end is a pipe",
         [&](auto& p) {
             Put(kStartScript);
             ASSERT_EQ(::mkfifo((p / kEndScript).c_str(), 0600), 0);
         }},
        {"start links inside",
         [&](auto& p) {
             Put("bin/start");
             std::filesystem::create_symlink("bin/start", p / kStartScript);
             Put(kEndScript);
         }},
        {"end is a folder",
         [&](auto& p) {
             Put(kStartScript);
             std::filesystem::create_directories(p / kEndScript);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(update_);
        std::filesystem::create_directories(update_);
        c.make(update_);
        EXPECT_EQ(Upload(update_.string()), UpdateOutcome::kMissingScript);
        EXPECT_TRUE(Uploads().empty());
        EXPECT_TRUE(emulator_.Journal(0).shell_commands.empty());
    }
}

// A file swapped for a pipe after the check must fail the send at once, not wait for a writer.
TEST_F(UpdateTreeUploadTest, FileSwappedForAPipeFailsTheSend) {
    Put("net_update_start.sh");
    Put("net_update_end.sh");
    Put("bin/app");
    const std::string app = (update_ / "bin" / "app").string();
    UpdateTreeUpload upload(net_, [&](const std::string& text) {
        if (text.find(app) == std::string::npos) return;
        std::filesystem::remove(app);
        ASSERT_EQ(::mkfifo(app.c_str(), 0600), 0);
    });
    EXPECT_EQ(upload.UploadUpdateFolder(update_.string()), UpdateOutcome::kEndNotRun);
    EXPECT_EQ(upload.FailedFile(), app);
    EXPECT_EQ(upload.FailedReason(), "changed since the folder was checked");
    EXPECT_EQ(Uploads(), std::vector<std::string>{"/mnt/mtd/net_update_start.sh"});
    EXPECT_EQ(emulator_.Journal(0).shell_commands, kStartCommands);
}

// A refused command is a failed update; whether the end script can still be said to be
// unrun depends on whether the start script ran.
TEST_F(UpdateTreeUploadTest, RefusedCommandsFailTheUpdate) {
    emulator_.Stop();
    net_.StopNetWork();
    StartRecorder(1016, /*refuse_shell=*/true);
    LogIn();
    Put("net_update_start.sh");
    Put("net_update_end.sh");
    EXPECT_EQ(Upload(update_.string()), UpdateOutcome::kSendFailed);
    EXPECT_EQ(Uploads(), std::vector<std::string>{"/mnt/mtd/net_update_start.sh"});
    EXPECT_TRUE(emulator_.Journal(0).shell_commands.empty());
}
