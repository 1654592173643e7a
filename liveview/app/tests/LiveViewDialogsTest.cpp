// The main window's dialog buttons against the emulator: SET, ADMIN and INFO, and what the
// password lock's user role may not do.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <ctime>
#include <functional>
#include <memory>

#include "liveview/app/CLiveViewDlg.h"
#include "liveview/app/DlgAdmin.h"
#include "liveview/app/DlgDeviceLogin.h"
#include "liveview/app/DlgDvrInfo.h"
#include "liveview/app/DlgDvrSet.h"
#include "liveview/app/DlgLockCheck.h"
#include "liveview/app/StaticLines.h"
#include "liveview/app/tests/LiveViewWindowTest.h"
#include "liveview/app/tests/ModalAct.h"
#include "liveview/app/tests/PromptAnswers.h"
#include "liveview/core/store/UserStore.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/manager/DvrManager.h"
#include "platform/waveout/ManualClockWaveOut.h"
#include "tests/support/MessageBoxAnswers.h"
#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

namespace {

using namespace live_view_id;

void Press(QWidget& dialog, const char* button) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
}

class LiveViewDialogsTest : public LiveViewWindowTest {
protected:
    void SetUp() override {
        LiveViewWindowTest::SetUp();
        RecorderConfig recorder = DefaultRecorderConfig(4, std::time(nullptr) / 86400);
        recorder.loop_frames = 8;
        recorder.disk_size_mb = 1536;
        StartRecorders({recorder});
    }

    // A store with the emulator's recorder, then the window; with the lock on, the start-up
    // check gets `password`.
    void Open(int password_on = 0, const char* password = "") {
        WriteStore({{.address = AddressOf(0), .name = "Gate", .port_text = "6802"}}, password_on);
        manager_ = std::make_unique<CDvrManager>(audio_, StorePath(), options_);
        window_ = std::make_unique<CLiveViewDlg>(*manager_, SUITE_TREE_DIR "/ClientSoftware");
        ModalAct<DlgLockCheck> check([&](DlgLockCheck& d) {
            QTest::keyClicks(d.findChild<QLineEdit*>("entry"), password);
            Press(d, "ok");
        });
        ASSERT_TRUE(window_->OnInitDialog());
        window_->show();
    }

    void Connect() {
        Select(0);
        window_->OnConnect();
        ASSERT_TRUE(QTest::qWaitFor([&] { return LinkState(0) != 0 && !Connecting(0); }, kWait_ms));
    }
};

}  // namespace

TEST_F(LiveViewDialogsTest, SetSendsTheChangedRecordAndRenamesTheDevice) {
    Open();
    Connect();
    ModalAct<DlgDvrSet> set([](DlgDvrSet& d) {
        d.findChild<QLineEdit*>("show_name")->setText("Back gate");
        d.findChild<QTabWidget*>("tab")->setCurrentIndex(3);
        d.findChild<QComboBox*>("picture0")->setCurrentIndex(2);
        d.findChild<QComboBox*>("picture1")->setCurrentIndex(60);
        Press(d, "ok");
    });
    QTest::mouseClick(Button(kSet), Qt::LeftButton, {}, Button(kSet)->rect().center());
    ASSERT_TRUE(set.Ran());
    EXPECT_EQ(emulator_.Para(0).brightness[2], 60);
    EXPECT_EQ(window_->Tree()->topLevelItem(0)->child(0)->text(0), "Back gate");
}

TEST_F(LiveViewDialogsTest, AdminHandsItsValuesOverEvenWhenCancelled) {
    Open();
    ModalAct<DlgAdmin> admin([](DlgAdmin& d) {
        d.findChild<QCheckBox*>("use_passwords")->click();
        PromptAnswers prompts(d.findChild<DlgPassword*>(), {"470319", "135790", "135790"});
        Press(d, "set_admin_password");
        Press(d, "cancel");
    });
    QTest::mouseClick(Button(kAdmin), Qt::LeftButton, {}, Button(kAdmin)->rect().center());
    ASSERT_TRUE(admin.Ran());
    EXPECT_EQ(manager_->GetAdminPassword(), "135790");
    EXPECT_EQ(manager_->GetUserPassword(), "258604");
    EXPECT_EQ(manager_->GetPasswordFlag(), 0);
}

TEST_F(LiveViewDialogsTest, InfoIsFilledByTimerSixteenAndNeedsALinkedDevice) {
    Open();
    // Not linked yet: nothing opens.
    window_->Tree()->setCurrentItem(window_->Tree()->topLevelItem(0)->child(0));
    {
        ModalAct<DlgDvrInfo> early([](DlgDvrInfo& d) { d.reject(); });
        window_->OnInfo();
        EXPECT_FALSE(early.Ran());
    }

    Connect();
    QStringList lines;
    ModalAct<DlgDvrInfo> info([&](DlgDvrInfo& d) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !d.findChild<StaticLines*>("disk_text")->Lines().isEmpty(); }, 20000));
        lines = d.findChild<StaticLines*>("disk_text")->Lines();
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    QTest::mouseClick(Button(kInfo), Qt::LeftButton, {}, Button(kInfo)->rect().center());
    ASSERT_TRUE(info.Ran());
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.front(), "Disk Size:1G");
    EXPECT_FALSE(window_->Timers().IsActive(live_view_timer::kDiskInfo));
}

// Under the lock the user role may not add, delete, record, set or manage passwords, also
// in the moments before the timers disable the buttons; the admin role may.
TEST_F(LiveViewDialogsTest, TheUserRoleCanNotManage) {
    for (const char* password : {"258604", "470319"}) {
        Open(1, password);
        const bool admin = std::string(password) == "470319";
        EXPECT_EQ(window_->Role(), admin ? 1 : 2);
        window_->Tree()->setCurrentItem(window_->Tree()->topLevelItem(0)->child(0));

        ModalAct<DlgDeviceLogin> add([](DlgDeviceLogin& d) { d.reject(); });
        window_->OnAdd();
        EXPECT_EQ(add.Ran(), admin);
        ModalAct<DlgAdmin> manage([](DlgAdmin& d) { d.reject(); });
        window_->OnAdmin();
        EXPECT_EQ(manage.Ran(), admin);
        ModalAct<DlgDvrSet> set([](DlgDvrSet& d) { d.reject(); });
        window_->OnSet();
        EXPECT_EQ(set.Ran(), admin);
        window_->OnRec();
        EXPECT_EQ(manager_->IsRecording(0), admin ? 1 : 0);
        boxes_.Answer(MessageBoxAnswer::kNo);
        window_->OnDelete();
        EXPECT_EQ(boxes_.Requests().size(), admin ? 1u : 0u);

        if (!admin) {
            // Timers 10 and 14 disable the buttons themselves.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    for (int id : {kAdd, kDelete, kAdmin, kSet, kRec}) {
                        if (Button(id)->isEnabled()) return false;
                    }
                    return true;
                },
                20000));
        }
        manager_->StopRecord(0);
        window_.reset();
        manager_.reset();
    }
}
