#include <QLabel>
#include <QSignalSpy>
#include <fstream>

#include "tests/support/QtWaits.h"
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
    ASSERT_EQ(boxes_.Texts().size(), 2);
    EXPECT_EQ(boxes_.Texts()[0], "This Directory not have update soft!");
    EXPECT_TRUE(boxes_.Texts()[1].startsWith("Update faild!\n")) << boxes_.Texts()[1].toStdString();
    EXPECT_TRUE(boxes_.Texts()[1].endsWith("\nThe start script has run; the end script has not."))
        << boxes_.Texts()[1].toStdString();
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_TRUE(dialog_.findChild<QPushButton*>("ok")->isEnabled());
    EXPECT_EQ(dialog_.findChild<QLabel*>("progress")->text(), "");
    EXPECT_EQ(emulator_.Journal(0).shell_commands.size(), 2u);  // the start script only
}

// The operator is told which file the recorder would not take, whatever the reason.
TEST_F(UpdateDlgTest, AFailedSendNamesItsFile) {
    Put("net_update_start.sh");
    Put("net_update_end.sh");
    const struct {
        const char* name;
        std::uintmax_t size_bytes;
    } cases[] = {{"bin/a\\b.bin", 3}, {"sub/big.bin", (64u << 20) + 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.name, c.size_bytes);
        const qsizetype shown = boxes_.Texts().size();
        Upload();
        ASSERT_EQ(boxes_.Texts().size(), shown + 1);
        const std::string expected = "Update faild!\n" + (update_ / c.name).string() + ": ";
        EXPECT_EQ(boxes_.Texts().back().toStdString().rfind(expected, 0), 0u)
            << boxes_.Texts().back().toStdString();
        EXPECT_FALSE(boxes_.Texts().back().contains("/proc/self/fd/"));
        std::filesystem::remove_all((update_ / c.name).parent_path());
    }
}

// The greyed dialog says what it waits for after a successful update, and nothing after.
TEST_F(UpdateDlgTest, TheWaitAfterSuccessSaysWhatItWaitsFor) {
    Put("net_update_start.sh");
    Put("net_update_end.sh");
    UpdateDlg dialog(Folder(), nullptr, std::chrono::milliseconds(1000));
    dialog.SetConnection(&net_);
    dialog.OnInitDialog();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* progress = dialog.findChild<QLabel*>("progress");
    QStringList said_while_greyed;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (!dialog.isEnabled()) said_while_greyed << progress->text();
    });
    look.start(20);
    Field(&dialog, "folder")->setText(QString::fromStdString(update_.string()));
    Click(&dialog, "ok");
    look.stop();
    ASSERT_FALSE(said_while_greyed.isEmpty());
    EXPECT_EQ(said_while_greyed.front(), "Waiting for the DVR to finish the update...");
    EXPECT_EQ(boxes_.Texts(), QStringList{"Update Success!"});
    EXPECT_EQ(progress->text(), "");
}

// After the link is lost the dialog says so instead of failing the upload again.
TEST_F(UpdateDlgTest, ALostLinkIsSaidBeforeAnythingIsSent) {
    Put("net_update_start.sh");
    Put("net_update_end.sh");
    emulator_.InjectFault(0, Fault::kDropLink);
    ASSERT_EVENTUALLY(net_.GetMachineInfe().nLinkState == kLinkLost);
    net_.ResetNetWork();  // as the main window's tick does
    Upload();
    EXPECT_EQ(boxes_.Texts(), QStringList{"The network is disconnected extraordinarily or is "
                                          "disconnected by the server"});
    EXPECT_TRUE(Uploads().empty());
    EXPECT_TRUE(dialog_.isVisible());
}

// The folder caption shows whole, and the folder field shows a path from its start.
TEST_F(UpdateDlgTest, CaptionAndFolderShowWhole) {
    auto* caption = dialog_.findChild<QLabel*>("folder_label");
    EXPECT_EQ(caption->text(), "Update Soft Directory:");
    EXPECT_LE(caption->heightForWidth(caption->width()), caption->height());
    QLineEdit* folder = Field(&dialog_, "folder");
    EXPECT_GT(folder->geometry().left(), caption->geometry().right());
    EXPECT_EQ(folder->cursorPosition(), 0);
    EXPECT_EQ(folder->toolTip(), UpdateDlg::DefaultFolder());
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
