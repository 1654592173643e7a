#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <thread>

#include "DlgBackup.h"
#include "DlgTimePlay.h"
#include "MessageBoxAnswers.h"
#include "TestFolder.h"

namespace {

const std::string kProgramFolder = SUITE_TREE_DIR "/ClientSoftware";

// The backup dialog as BACKUP opens it, next to the main window's time picker.
class DlgBackupTest : public ::testing::Test {
protected:
    void Open(std::array<int, 4> cameras = {1, 3, 0, 0}) {
        dialog_.SetParams(cameras[0], cameras[1], cameras[2], cameras[3], 1, 0, 0);
        dialog_.SetPlayPicker(&play_picker_);
        dialog_.OnInitDialog();
        dialog_.open();
    }

    template <class T>
    T* Child(const char* name) {
        return dialog_.findChild<T*>(name);
    }
    void SetTime(const char* picker, QTime time) { Child<QDateTimeEdit>(picker)->setTime(time); }
    void ClickOk() { QTest::mouseClick(Child<QPushButton>("ok"), Qt::LeftButton); }

    MessageBoxAnswers boxes_;
    QDateTimeEdit play_picker_{QDateTime(QDate(2009, 8, 28), QTime(0, 0))};
    DlgBackup dialog_{kProgramFolder};
};

TEST_F(DlgBackupTest, OpensWithItsControlsAndDefaults) {
    Open({2, 5, 0, 0});
    EXPECT_EQ(dialog_.windowTitle(), "BackUp");
    EXPECT_EQ(Child<QLabel>("channels")->text(), "BackUp Channel:Cam02 Cam05  ");
    EXPECT_EQ(Child<QDateTimeEdit>("start")->time(), QTime(0, 0, 0));
    EXPECT_EQ(Child<QDateTimeEdit>("end")->time(), QTime(23, 59, 59));
    EXPECT_EQ(dialog_.Start(), 0);
    EXPECT_EQ(dialog_.End(), 86399);
    EXPECT_FALSE(Child<QCheckBox>("audio")->isChecked());
    EXPECT_EQ(Child<QCheckBox>("audio")->text(), "BackUp Audio");
    EXPECT_FALSE(Child<QLineEdit>("folder")->isEnabled());
    EXPECT_EQ(Child<QLineEdit>("folder")->text(), QDir::homePath());
    EXPECT_EQ(Child<QProgressBar>("progress")->maximum(), 360);
    EXPECT_TRUE(Child<QLabel>("speed")->text().isEmpty());
    EXPECT_FALSE(dialog_.Active());

    const std::pair<const char*, QRect> places[] = {
        {"channels", {30, 40, 200, 30}},  {"start", {120, 65, 78, 23}},
        {"end", {120, 95, 78, 23}},       {"audio", {30, 120, 120, 30}},
        {"folder", {130, 153, 110, 20}},  {"browse", {250, 153, 50, 20}},
        {"progress", {15, 200, 300, 15}}, {"speed", {100, 230, 230, 15}},
        {"ok", {170, 260, 60, 20}},       {"cancel", {240, 260, 60, 20}},
    };
    for (const auto& [name, rect] : places) {
        EXPECT_EQ(Child<QWidget>(name)->geometry(), rect) << name;
    }
    EXPECT_EQ(dialog_.findChild<QGroupBox*>()->geometry(), QRect(15, 10, 300, 170));
    EXPECT_EQ(dialog_.findChild<QGroupBox*>()->title(), "INFO");

    dialog_.reject();
    Open({0, 0, 0, 0});
    EXPECT_EQ(Child<QLabel>("channels")->text(), "BackUp Channel:   ");
}

TEST_F(DlgBackupTest, RefusesASpanThatDoesNotEndAfterItsStart) {
    Open();
    QSignalSpy started(&dialog_, &DlgBackup::StartBackup);
    const std::pair<QTime, QTime> spans[] = {{QTime(10, 0, 0), QTime(10, 0, 0)},
                                             {QTime(10, 0, 1), QTime(10, 0, 0)}};
    for (const auto& [start, end] : spans) {
        SetTime("start", start);
        SetTime("end", end);
        ClickOk();
    }
    EXPECT_EQ(boxes_.Texts(), QStringList({"BackUp Time Error!", "BackUp Time Error!"}));
    EXPECT_EQ(started.count(), 0);
    EXPECT_FALSE(dialog_.Active());
    EXPECT_TRUE(Child<QPushButton>("ok")->isEnabled());
}

// A valid OK starts the backup: the main picker goes to the start, OK and the pickers lock,
// and the bar follows the main picker's play time on the dialog's timer.
TEST_F(DlgBackupTest, OkStartsTheBackupAndTheBarFollowsThePlayTime) {
    Open();
    QSignalSpy started(&dialog_, &DlgBackup::StartBackup);
    SetTime("start", QTime(8, 0, 0));
    SetTime("end", QTime(9, 0, 0));
    QTest::mouseClick(Child<QCheckBox>("audio"), Qt::LeftButton, {}, QPoint(110, 15));
    play_picker_.setTime(QTime(13, 0, 0));
    ClickOk();
    ASSERT_EQ(started.count(), 1);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
    EXPECT_TRUE(dialog_.Active());
    EXPECT_EQ(dialog_.Start(), 28800);
    EXPECT_EQ(dialog_.End(), 32400);
    EXPECT_EQ(dialog_.Audio(), 1);
    EXPECT_EQ(dialog_.Directory(), QDir::homePath().toStdString());
    EXPECT_EQ(play_picker_.time(), QTime(8, 0, 0));
    EXPECT_EQ(play_picker_.date(), QDate(2009, 8, 28));
    for (const char* locked : {"ok", "start", "end"}) {
        EXPECT_FALSE(Child<QWidget>(locked)->isEnabled()) << locked;
    }
    EXPECT_TRUE(Child<QPushButton>("cancel")->isEnabled());

    QProgressBar* bar = Child<QProgressBar>("progress");
    play_picker_.setTime(QTime(8, 30, 0));
    QTRY_COMPARE(bar->value(), 180);
    play_picker_.setTime(QTime(7, 0, 0));  // before the start: the bar stays
    QTest::qWait(3 * DlgBackup::kProgressTimer_ms);
    EXPECT_EQ(bar->value(), 180);
    play_picker_.setTime(QTime(9, 0, 0));  // the end: 360 leaves the bar where it was
    QTRY_COMPARE(dialog_.ProgressPosition(), 360);
    EXPECT_EQ(bar->value(), 180);

    dialog_.Finish();
    EXPECT_FALSE(dialog_.Active());
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(dialog_.result(), QDialog::Rejected);
}

TEST_F(DlgBackupTest, BrowseChoosesTheFolderTheBackupGoesTo) {
    TestFolder chosen;
    Open();
    for (const bool confirm : {false, true}) {
        QTimer::singleShot(0, [&] {
            auto* chooser = qApp->activeModalWidget()
                                ? qobject_cast<QFileDialog*>(qApp->activeModalWidget())
                                : nullptr;
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(chooser->windowTitle(), "Select directory");
            if (!confirm) return chooser->reject();
            chooser->setDirectory(QString::fromStdString(chosen.Path().string()));
            chooser->selectFile(QString::fromStdString(chosen.Path().string()));
            QMetaObject::invokeMethod(chooser, "accept");
        });
        QTest::mouseClick(Child<QPushButton>("browse"), Qt::LeftButton);
        const std::string expected =
            confirm ? chosen.Path().string() : QDir::homePath().toStdString();
        EXPECT_EQ(Child<QLineEdit>("folder")->text().toStdString(), expected);
    }
    ClickOk();
    EXPECT_EQ(dialog_.Directory(), chosen.Path().string());
}

// The decode thread's rate line shows while the dialog is open, and never after it ended.
TEST_F(DlgBackupTest, SpeedTextShowsOnlyWhileOpen) {
    dialog_.SetSpeedText("Speed 1KB/s Recv 1KB");  // not open yet
    Open();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Child<QLabel>("speed")->text().isEmpty());
    std::thread([&] { dialog_.SetSpeedText("Speed 500KB/s Recv 5120KB"); }).join();
    QTRY_COMPARE(Child<QLabel>("speed")->text(), QString("Speed 500KB/s Recv 5120KB"));
    dialog_.Finish();
    std::thread([&] { dialog_.SetSpeedText("Speed 7KB/s Recv 9KB"); }).join();
    QCoreApplication::processEvents();
    EXPECT_EQ(Child<QLabel>("speed")->text(), "Speed 500KB/s Recv 5120KB");
}

TEST(DlgTimePlay, OkKeepsThePickersSecondOfTheDay) {
    DlgTimePlay dialog;
    EXPECT_EQ(dialog.windowTitle(), "TIME PLAY");
    EXPECT_EQ(dialog.GetSeconds(), 0);
    dialog.open();
    dialog.findChild<QDateTimeEdit*>("time")->setTime(QTime(13, 45, 30));
    QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetSeconds(), 49530);
}

}  // namespace
