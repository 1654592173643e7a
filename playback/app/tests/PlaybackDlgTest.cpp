// The playback window against a recorder of the emulator: layout, log-in, record search,
// the link's buttons, the lost link, and every way out.
#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <limits>

#include "common/ui/widgets/SegmentLabel.h"
#include "common/ui/widgets/VideoGrid.h"
#include "playback/app/CImageSlider.h"
#include "playback/app/CRecordTimeline.h"
#include "playback/app/tests/PlaybackWindowFixture.h"

namespace {

// Threads of the process but Qt's pooled workers: Qt lends large image conversions to its
// global pool, whose idle workers linger for half a minute.
int ThreadCount() {
    int count = 0;
    for (const QString& task :
         QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name("/proc/self/task/" + task + "/comm");
        if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() != "Thread (pooled)")
            ++count;
    }
    return count;
}

bool RowMarked(CPlaybackDlg& window, int row, int first_slot, int last_slot) {
    for (int k = first_slot; k <= last_slot; ++k) {
        if (!window.Timeline()->Slots().Marked(row, k)) return false;
    }
    return true;
}

bool RowEmpty(CPlaybackDlg& window, int row) {
    for (int k = 0; k < CTimelineSlots::kSlots; ++k) {
        if (window.Timeline()->Slots().Marked(row, k)) return false;
    }
    return true;
}

}  // namespace

TEST_F(PlaybackWindowTest, StartsWithEveryControlInPlaceAndFollowsTheLinkState) {
    Open();
    EXPECT_EQ(window_->geometry().size(), QSize(1024, 738));
    const std::pair<int, QRect> places[] = {
        {kIdPlay, {760, 636, 60, 40}},    {kIdBackup, {894, 520, 56, 36}},
        {kIdAudioOn, {760, 520, 60, 40}}, {kIdSnap, {826, 520, 60, 40}},
        {kIdSpeed, {760, 678, 60, 40}},   {kIdExit, {930, 660, 73, 73}},
        {kIdLogin, {856, 50, 65, 51}},    {kIdLogout, {856, 50, 65, 51}},
        {kIdMinimize, {950, 15, 24, 24}}, {kIdClose, {980, 15, 24, 24}},
    };
    for (const auto& [id, rect] : places)
        EXPECT_EQ(window_->Button(id)->geometry(), rect) << id;
    EXPECT_EQ(window_->VideoGrid()->geometry(), QRect(21, 20, 727, 606));
    EXPECT_EQ(window_->Timeline()->geometry(), QRect(21, 660, 726, 68));
    EXPECT_EQ(window_->PlaySlider()->geometry(), QRect(55, 625, 703, 30));
    EXPECT_EQ(window_->TimePicker()->geometry(), QRect(768, 599, 78, 23));
    EXPECT_EQ(window_->CameraBox(2)->x(), 886);
    EXPECT_EQ(window_->CameraBox(2)->y(), 300);
    const QRect calendar = window_->Calendar()->geometry();
    EXPECT_EQ(calendar.x(), 750 + (274 - calendar.width()) / 2);
    EXPECT_EQ(calendar.y(), 350);
    EXPECT_EQ(window_->VideoGrid()->Cells().Layout(), 4);
    EXPECT_EQ(window_->PickerSeconds(), 0);
    for (int id : {kIdStop, kIdTime, kIdAudioOff, kIdNormalSpeed})
        EXPECT_FALSE(Shown(id)) << id;
    EXPECT_TRUE(Shown(kIdLogin) && Shown(kIdLogout));  // until the first link look
    EXPECT_EQ(window_->Button(kIdPlay)->toolTip(), "FILE PLAY");

    // Not connected: LOGIN alone, cameras off.
    ASSERT_EVENTUALLY(!Shown(kIdLogout));
    EXPECT_TRUE(Shown(kIdLogin) && Shown(kIdPlay));
    EXPECT_FALSE(window_->CameraBox(0)->isEnabled());

    // A day picked before any log-in searches nothing and leaves every row empty.
    window_->Calendar()->setSelectedDate(QDate(2009, 8, 28));
    EXPECT_EQ(window_->SearchRecords(), -1);
    EXPECT_EQ(window_->Shared().channel_mask.load(), 0);

    // Pressing the background moves the window; the move flag lasts until the next timer.
    const QPoint start = window_->pos();
    QTest::mousePress(window_.get(), Qt::LeftButton, {}, QPoint(900, 400));
    EXPECT_EQ(window_->Shared().window_drag.load(), 1);
    QMouseEvent move(QEvent::MouseMove, QPointF(930, 420), window_->mapToGlobal(QPointF(930, 420)),
                     Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window_.get(), &move);
    EXPECT_EQ(window_->pos(), start + QPoint(30, 20));
    QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, QPoint(930, 420));
    ASSERT_EVENTUALLY_EQ(window_->Shared().window_drag.load(), 0);
    // A press inside the video window enlarges the pane under it; one on its edge moves.
    QTest::mouseClick(window_->VideoGrid(), Qt::LeftButton, {}, QPoint(500, 400));
    EXPECT_EQ(window_->Shared().window_drag.load(), 0);
    EXPECT_FALSE(window_->VideoGrid()->Cells().IsVisible(0));
    QTest::mouseClick(window_->VideoGrid(), Qt::LeftButton, {}, QPoint(0, 400));
    EXPECT_EQ(window_->Shared().window_drag.load(), 1);
    EXPECT_FALSE(window_->VideoGrid()->Cells().IsVisible(0));
}

TEST_F(PlaybackWindowTest, LogsInAndMarksTheDaysRecordsOfTheRowCameras) {
    StartRecorder();
    for (const char* language : {"english", "chinese"}) {
        Open(language);
        window_->Calendar()->setSelectedDate(QDate(2009, 8, 28));
        LogIn();
        ASSERT_EQ(LinkState(), kLinkLoggedIn) << boxes_.Texts().join("|").toStdString();
        const std::string range = std::string(language) == "chinese"
                                      ? " 2009/08/26 08:00 - 2009/08/28 18:00 "
                                      : " 26/08/2009 08:00 - 28/08/2009 18:00 ";
        // Both ends with their times, all of it within the label.
        EXPECT_EQ(window_->RangeLabel()->Text(), range);
        EXPECT_LT(QFontMetrics(window_->RangeLabel()->SegmentFont())
                      .horizontalAdvance(QString::fromStdString(range)),
                  window_->RangeLabel()->width());
        EXPECT_EQ(window_->HostLabel()->Text(), "127.0.0.1");
        ASSERT_EQ(window_->CameraBox(3)->count(), 5);
        EXPECT_EQ(window_->CameraBox(3)->itemText(4), "04");
        EXPECT_EQ(window_->Timeline()->Slots().RowLabels()[0], "CAM01");
        EXPECT_TRUE(RowMarked(*window_, 0, 96, 144));  // camera 1 from 08:00 to 12:00
        EXPECT_TRUE(RowMarked(*window_, 0, 156, 216));
        EXPECT_FALSE(window_->Timeline()->Slots().Marked(0, 150));
        EXPECT_TRUE(RowEmpty(*window_, 1));
        EXPECT_EQ(window_->Shared().channel_mask.load(), 0x1);
        window_->OnLogout();
        window_.reset();
    }

    Open();
    window_->Calendar()->setSelectedDate(QDate(2009, 8, 28));
    LogIn();
    ASSERT_EVENTUALLY(Shown(kIdLogout) && !Shown(kIdLogin));
    EXPECT_TRUE(window_->CameraBox(1)->isEnabled());
    // Camera 1 again in row 1 is dropped; camera 2 there marks its half hour.
    window_->CameraBox(1)->setCurrentIndex(1);
    emit window_->CameraBox(1)->activated(1);
    EXPECT_EQ(window_->CameraBox(1)->currentIndex(), 0);
    EXPECT_TRUE(RowEmpty(*window_, 1));
    window_->CameraBox(1)->setCurrentIndex(2);
    emit window_->CameraBox(1)->activated(2);
    SearchEnded();
    EXPECT_TRUE(RowMarked(*window_, 1, 120, 126));
    EXPECT_FALSE(window_->Timeline()->Slots().Marked(1, 127));
    EXPECT_EQ(window_->Shared().channel_mask.load(), 0x3);
    // Another day of the recorder; a day it did not record marks nothing.
    window_->Calendar()->setSelectedDate(QDate(2009, 8, 26));
    SearchEnded();
    EXPECT_TRUE(RowMarked(*window_, 1, 120, 126));
    window_->Calendar()->setSelectedDate(QDate(2009, 8, 25));
    SearchEnded();
    EXPECT_TRUE(RowEmpty(*window_, 0));
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join("|").toStdString();
}

// A box with its dropped list of sixteen cameras keeps to its 120 pixels; the list scrolls.
TEST_F(PlaybackWindowTest, CameraListsDropNoFurtherThanTheirPlace) {
    StartRecorder(DefaultRecorderConfig(16, kDay));
    Open();
    LogIn();
    ASSERT_EQ(LinkState(), kLinkLoggedIn);
    QComboBox* box = window_->CameraBox(2);
    ASSERT_EQ(box->count(), 17);
    box->showPopup();
    QWidget* list = box->view()->window();
    ASSERT_EVENTUALLY(list->isVisible());
    EXPECT_LE(box->height() + list->height(), kCameraBoxListHeight);
    EXPECT_GE(list->height(), 2 * box->view()->sizeHintForRow(0));
    box->hidePopup();
}

TEST_F(PlaybackWindowTest, SliderAndPickerFollowThePlayTimeUnlessDragged) {
    StartRecorder();
    Open();
    window_->Calendar()->setSelectedDate(QDate(2009, 8, 28));
    LogIn();
    PlaybackShared& shared = window_->Shared();
    CImageSlider* slider = window_->PlaySlider();
    const auto played = [&] { return window_->Timeline()->SecondsOfDay(shared.play_time.load()); };
    const auto look = [&] { window_->OnTimer(CPlaybackDlg::kPlayPositionTimer); };

    // A stream far from the slider's place is taken up; near it, the controls step along.
    ASSERT_EQ(window_->Connection().NetPlayFile(49530, 86400, 0x1, 0, 0), 0);
    ASSERT_EVENTUALLY_EQ(slider->GetPos(), 825);
    EXPECT_GE(window_->PickerSeconds(), 49530);
    const int taken_up = window_->PickerSeconds();
    ASSERT_EVENTUALLY(window_->PickerSeconds() > taken_up);

    // While the thumb is held the controls stay where the operator put them.
    shared.slider_drag = 1;
    const int held_pos = slider->GetPos();
    const int held_seconds = window_->PickerSeconds();
    ASSERT_EQ(window_->Connection().NetPlayFile(52200, 86400, 0x1, 0, 0), 0);
    ASSERT_EVENTUALLY(played() >= 52200);
    for (int n = 0; n <= CPlayFollow::kFarLooks; ++n)
        look();
    EXPECT_EQ(slider->GetPos(), held_pos);
    EXPECT_EQ(window_->PickerSeconds(), held_seconds);

    // Let go, a play time more than 28 minutes away is followed on the fourth look.
    shared.slider_drag = 0;
    for (int n = 1; n < CPlayFollow::kFarLooks; ++n)
        look();
    EXPECT_EQ(slider->GetPos(), held_pos);
    look();
    EXPECT_GE(window_->PickerSeconds(), 52200);
    EXPECT_GE(slider->GetPos(), 869);
}

TEST_F(PlaybackWindowTest, ReportsALostLinkOncePerLogIn) {
    StartRecorder();
    Open();
    const QString lost =
        "The network is disconnected extraordinarily or is disconnected by the server";
    for (int login = 1; login <= 2; ++login) {
        LogIn();
        ASSERT_EQ(LinkState(), kLinkLoggedIn);
        emulator_.InjectFault(0, Fault::kDropLink);
        ASSERT_TRUE(boxes_.WaitForCount(login, kPollLimit_ms));
        EXPECT_EQ(boxes_.Texts().back(), lost);
        ASSERT_EVENTUALLY(Shown(kIdLogin) && !Shown(kIdLogout));
        for (int look = 0; look < 3; ++look)
            window_->OnTimer(CPlaybackDlg::kLinkTimer);
        EXPECT_EQ(boxes_.Texts().size(), login);
    }

    // Logged out: nothing to report, the timeline is empty.
    LogIn();
    QTest::mouseClick(window_->Button(kIdLogout), Qt::LeftButton);
    EXPECT_EQ(LinkState(), kLinkIdle);
    EXPECT_FALSE(window_->LostLinkArmed());
    EXPECT_TRUE(RowEmpty(*window_, 0));
}

TEST_F(PlaybackWindowTest, EnterAndEscKeepTheWindowAndEveryWayOutStopsTheNetwork) {
    StartRecorder();
    // Threads of the process without the window: the window's own must all end with it.
    const int idle_threads = ThreadCount();
    Open();
    LogIn();
    ASSERT_EQ(LinkState(), kLinkLoggedIn);
    EXPECT_GT(ThreadCount(), idle_threads);

    window_->TimePicker()->setFocus();
    QTest::keyClick(window_->TimePicker(), Qt::Key_Return);
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(LinkState(), kLinkLoggedIn);

    QTest::mouseClick(window_->Button(kIdClose), Qt::LeftButton);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->result(), QDialog::Rejected);
    EXPECT_EQ(LinkState(), kLinkIdle);
    EXPECT_EQ(window_->Shared().play_state.load(), PlaybackShared::kPlayStateStopped);
    // The decode thread, which ran before the log-in, has gone too.
    EXPECT_FALSE(window_->DecodeThread().Running());
    ASSERT_EVENTUALLY_EQ(ThreadCount(), idle_threads);

    // Accepting (what Enter would do on a default button) stops the same way.
    Open();
    LogIn();
    ASSERT_EQ(LinkState(), kLinkLoggedIn);
    window_->accept();
    EXPECT_EQ(LinkState(), kLinkIdle);
    EXPECT_FALSE(window_->DecodeThread().Running());
    ASSERT_EVENTUALLY_EQ(ThreadCount(), idle_threads);
}

// A recorder announcing every page there is, then answering slowly, holds neither the window
// nor the way out: the search asks what a day holds, the window answers while a page is
// awaited, and logging out ends the search without a later mark.
TEST_F(PlaybackWindowTest, AHostileRecorderHoldsNeitherTheWindowNorTheWayOut) {
    RecorderConfig config = Recorder();
    config.announced_pages = std::numeric_limits<int32_t>::max();
    StartRecorder(config);
    Open();
    window_->Calendar()->setSelectedDate(QDate(2009, 8, 28));
    LogIn();
    ASSERT_EQ(LinkState(), kLinkLoggedIn);
    EXPECT_TRUE(RowMarked(*window_, 0, 96, 144));
    ASSERT_EVENTUALLY(Shown(kIdLogout));

    constexpr int kStall_ms = 4000;
    emulator_.InjectFault(0, Fault::kStall, kStall_ms);
    QElapsedTimer held;
    held.start();
    window_->Calendar()->setSelectedDate(QDate(2009, 8, 27));
    EXPECT_LT(held.elapsed(), kStall_ms / 2);
    EXPECT_TRUE(window_->Searching());
    bool answered = false;
    QTimer::singleShot(0, window_.get(), [&] { answered = true; });
    ASSERT_EVENTUALLY(answered);
    EXPECT_TRUE(window_->Searching());

    QTest::mouseClick(window_->Button(kIdLogout), Qt::LeftButton);
    EXPECT_FALSE(window_->Searching());
    EXPECT_EQ(LinkState(), kLinkIdle);
    QCoreApplication::processEvents();
    EXPECT_TRUE(RowEmpty(*window_, 0));
}
