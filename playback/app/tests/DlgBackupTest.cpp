#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <thread>

#include "common/ui/widgets/QueuedGate.h"
#include "playback/app/DlgBackup.h"
#include "playback/app/DlgTimePlay.h"
#include "tests/support/MessageBoxAnswers.h"
#include "tests/support/QtWaits.h"

namespace {

// The backup dialog as BACKUP opens it, beside the main window's time picker.
class DlgBackupTest : public ::testing::Test {
protected:
    void Open(std::array<int, 4> cameras = {1, 3, 0, 0}) {
        dialog_.SetParams(cameras[0], cameras[1], cameras[2], cameras[3], 1, 0, 0);
        dialog_.SetPlayPicker(&play_picker_);
        dialog_.OnInitDialog();
        dialog_.open();
    }
    template <class T = QWidget>
    T* Child(const char* name) {
        return dialog_.findChild<T*>(name);
    }
    void SetSpan(QTime start, QTime end) {
        Child<QDateTimeEdit>("start")->setTime(start);
        Child<QDateTimeEdit>("end")->setTime(end);
    }
    void ClickOk() { QTest::mouseClick(Child<QPushButton>("ok"), Qt::LeftButton); }

    MessageBoxAnswers boxes_;
    QDateTimeEdit play_picker_{QDateTime(QDate(2009, 8, 28), QTime(0, 0))};
    DlgBackup dialog_{SUITE_TREE_DIR "/ClientSoftware"};
};

TEST_F(DlgBackupTest, OpensWithItsControlsInPlaceAndItsDefaults) {
    Open({2, 5, 0, 0});
    EXPECT_EQ(dialog_.windowTitle(), "BackUp");
    EXPECT_EQ(Child<QLabel>("channels")->text(), "BackUp Channel:Cam02 Cam05  ");
    EXPECT_EQ(dialog_.Start(), 0);
    EXPECT_EQ(dialog_.End(), 86399);
    EXPECT_EQ(Child<QDateTimeEdit>("end")->time(), QTime(23, 59, 59));
    EXPECT_FALSE(Child<QCheckBox>("audio")->isChecked());
    EXPECT_FALSE(Child<QLineEdit>("folder")->isEnabled());
    EXPECT_EQ(Child<QLineEdit>("folder")->text(), QDir::homePath());
    EXPECT_EQ(Child<QProgressBar>("progress")->maximum(), 360);
    EXPECT_EQ(dialog_.findChild<QGroupBox*>()->title(), "INFO");
    const std::pair<const char*, QRect> places[] = {
        {"channels", {30, 40, 270, 30}},  {"start", {120, 65, 78, 23}},
        {"end", {120, 95, 78, 23}},       {"audio", {30, 120, 120, 30}},
        {"folder", {130, 153, 110, 20}},  {"browse", {250, 153, 50, 20}},
        {"progress", {15, 200, 300, 15}}, {"speed", {100, 230, 230, 15}},
        {"ok", {170, 260, 60, 20}},       {"cancel", {240, 260, 60, 20}},
    };
    for (const auto& [name, rect] : places)
        EXPECT_EQ(Child(name)->geometry(), rect) << name;
    EXPECT_EQ(dialog_.findChild<QGroupBox*>()->geometry(), QRect(15, 10, 300, 170));
    dialog_.reject();
    Open({0, 0, 0, 0});
    EXPECT_EQ(Child<QLabel>("channels")->text(), "BackUp Channel:   ");
    // Four cameras keep to one line, clear of the start row below.
    dialog_.reject();
    Open({1, 2, 3, 4});
    const QLabel* line = Child<QLabel>("channels");
    EXPECT_LT(line->heightForWidth(line->width()), 2 * QFontMetrics(line->font()).lineSpacing())
        << line->text().toStdString();
}

// OK refuses a span that does not end after its start. A valid OK starts the backup: the
// main picker goes to the start, OK and the pickers lock, and the bar follows the main
// picker on the dialog's timer, never before the start and never at the end.
TEST_F(DlgBackupTest, OkStartsAValidSpanAndTheBarFollowsThePlayTime) {
    Open();
    int started = 0;
    QObject main_window;
    const auto gate = CreateQueuedGate(&main_window);
    dialog_.SetStartBackup(gate, [&started] { ++started; });
    SetSpan(QTime(10, 0, 0), QTime(10, 0, 0));
    ClickOk();
    SetSpan(QTime(10, 0, 1), QTime(10, 0, 0));
    ClickOk();
    EXPECT_EQ(boxes_.Texts(), QStringList({"BackUp Time Error!", "BackUp Time Error!"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(started, 0);
    EXPECT_TRUE(Child("ok")->isEnabled());

    SetSpan(QTime(8, 0, 0), QTime(9, 0, 0));
    Child<QCheckBox>("audio")->setChecked(true);
    play_picker_.setTime(QTime(13, 0, 0));
    ClickOk();
    EXPECT_EQ(started, 0) << "posted: it starts after OK has returned";
    ASSERT_EVENTUALLY_EQ(started, 1);
    EXPECT_TRUE(dialog_.Active());
    EXPECT_EQ(dialog_.Start(), 28800);
    EXPECT_EQ(dialog_.End(), 32400);
    EXPECT_EQ(dialog_.Audio(), 1);
    EXPECT_EQ(play_picker_.dateTime(), QDateTime(QDate(2009, 8, 28), QTime(8, 0, 0)));
    EXPECT_FALSE(Child("ok")->isEnabled() || Child("start")->isEnabled() ||
                 Child("end")->isEnabled());
    EXPECT_TRUE(Child("cancel")->isEnabled());

    QProgressBar* bar = Child<QProgressBar>("progress");
    play_picker_.setTime(QTime(8, 30, 0));
    ASSERT_EVENTUALLY_EQ(bar->value(), 180);
    play_picker_.setTime(QTime(9, 0, 0));  // 360: the bar stays
    ASSERT_EVENTUALLY_EQ(dialog_.ProgressPosition(), 360);
    play_picker_.setTime(QTime(7, 0, 0));  // before the start: nothing changes
    QSignalSpy ticks(dialog_.findChild<QTimer*>("progress timer"), &QTimer::timeout);
    ASSERT_EVENTUALLY(ticks.size() >= 2);
    EXPECT_EQ(dialog_.ProgressPosition(), 360);
    EXPECT_EQ(bar->value(), 180);

    dialog_.Finish();
    EXPECT_FALSE(dialog_.Active());
    EXPECT_FALSE(dialog_.isVisible());
}

// The decode thread's rate line shows while the dialog is open, before and after never.
TEST_F(DlgBackupTest, SpeedTextShowsOnlyWhileOpen) {
    const auto from_thread = [this](const char* text) {
        std::thread([&] { dialog_.SetSpeedText(text); }).join();
        QCoreApplication::processEvents();
    };
    from_thread("Speed 1KB/s Recv 1KB");
    Open();
    EXPECT_TRUE(Child<QLabel>("speed")->text().isEmpty());
    from_thread("Speed 500KB/s Recv 5120KB");
    EXPECT_EQ(Child<QLabel>("speed")->text(), "Speed 500KB/s Recv 5120KB");
    dialog_.Finish();
    from_thread("Speed 7KB/s Recv 9KB");
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
