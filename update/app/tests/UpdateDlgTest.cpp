#include <QLabel>
#include <QSignalSpy>
#include <fstream>

#include "update/app/UpdateDlg.h"
#include "update/app/tests/FirmoraFixture.h"

namespace {

class UpdateDlgTest : public FirmoraFixture {
protected:
    void SetUp() override {
        StartRecorder(1016);
        LogIn();
        dialog_.SetConnection(&net_);
        dialog_.OnInitDialog();
        dialog_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
    }
    void Put(const std::string& name, std::uintmax_t size_bytes = 3) {
        const std::filesystem::path path = update_ / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "abc";
        std::filesystem::resize_file(path, size_bytes);
    }
    void Upload() {
        Field(&dialog_, "folder")->setText(QString::fromStdString(update_.string()));
        Click(&dialog_, "ok");
    }

    const std::filesystem::path update_ = folder_.Path() / "update";
    UpdateDlg dialog_{Folder(), nullptr, std::chrono::milliseconds(50)};
};

}  // namespace

TEST_F(UpdateDlgTest, UploadsTheFolderThenSaysSo) {
    EXPECT_EQ(Field(&dialog_, "folder")->text(), UpdateDlg::DefaultFolder());
    Put("net_update_start.sh");
    Put("net_update_end.sh");
    Put("bin/app");
    QSignalSpy accepted(&dialog_, &QDialog::accepted);
    Upload();
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(boxes_.Texts(), QStringList{"Update Success!"});
    EXPECT_EQ(emulator_.Journal(0).uploads.size(), 4u);
    EXPECT_EQ(emulator_.Journal(0).shell_commands.back(), "/mnt/mtd/net_update_end.sh");
}

TEST_F(UpdateDlgTest, RefusalsKeepTheDialogOpen) {
    Put("net_update_start.sh");
    Upload();
    EXPECT_TRUE(Uploads().empty());
    Put("net_update_end.sh");
    Put("sub/big.bin", (64u << 20) + 1);
    Upload();
    EXPECT_EQ(boxes_.Texts(),
              (QStringList{"This Directory not have update soft!",
                           "Update faild!\nThe start script has run; the end script has not."}));
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_TRUE(dialog_.findChild<QPushButton*>("ok")->isEnabled());
    EXPECT_EQ(dialog_.findChild<QLabel*>("progress")->text(), "");
    EXPECT_EQ(emulator_.Journal(0).shell_commands.size(), 2u);  // the start script only
}

// What was left out is named, and a recorder refusing the scripts is no success.
TEST_F(UpdateDlgTest, TellsWhatWasLeftOutAndARefusedScript) {
    emulator_.Stop();
    net_.StopNetWork();
    StartRecorder(1016, /*refuse_shell=*/true);
    LogIn();
    Put("net_update_start.sh");
    Put("net_update_end.sh");
    std::filesystem::create_directory_symlink("/etc", update_ / "etc");
    QSignalSpy accepted(&dialog_, &QDialog::accepted);
    Upload();
    EXPECT_EQ(boxes_.Texts(), (QStringList{"Not sent (not regular files of the folder):\n" +
                                               QString::fromStdString((update_ / "etc").string()),
                                           "Update faild!"}));
    EXPECT_EQ(accepted.count(), 0);
    EXPECT_TRUE(dialog_.isVisible());
}
