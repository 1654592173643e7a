// The main window offscreen against recorders of the emulator on loopback: start-up, layout,
// the device tree and its buttons, connect threads, lost links and the way out.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <filesystem>
#include <memory>

#include "common/ui/widgets/SegmentLabel.h"
#include "common/ui/widgets/SkinButton.h"
#include "common/ui/widgets/VideoGrid.h"
#include "liveview/app/CLiveViewDlg.h"
#include "liveview/app/DlgDeviceLogin.h"
#include "liveview/app/DlgLockCheck.h"
#include "liveview/app/DlgNotice.h"
#include "liveview/app/tests/LiveViewWindowTest.h"
#include "liveview/app/tests/ModalAct.h"
#include "liveview/core/store/UserStore.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/core/window/MainWindowLayout.h"
#include "liveview/manager/DvrManager.h"
#include "platform/net/ListenSocket.h"
#include "platform/waveout/ManualClockWaveOut.h"
#include "tests/support/MessageBoxAnswers.h"
#include "tests/support/QtWaits.h"
#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

namespace {

using namespace live_view_id;
namespace fs = std::filesystem;

using LiveViewDlgTest = LiveViewWindowTest;

void Type(QDialog& dialog, const char* field, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(field);
    ASSERT_NE(edit, nullptr) << field;
    edit->clear();
    QTest::keyClicks(edit, text);
}

void Press(QDialog& dialog, const char* button) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
}

bool PadShown(const CLiveViewDlg& window) {
    for (int id = kUp; id <= kAuto; ++id) {
        if (!window.Control(id)->isVisible()) return false;
    }
    return true;
}

}  // namespace

TEST_F(LiveViewDlgTest, StartsWithEveryControlInPlaceAndEveryTimerRunning) {
    Open();
    EXPECT_EQ(window_->geometry(), QRect(0, 0, 1024, 738));
    EXPECT_TRUE(window_->windowFlags() & Qt::FramelessWindowHint);
    for (const MainWindowControl& c : MainWindowControls()) {
        const QWidget* control = window_->Control(c.id);
        ASSERT_NE(control, nullptr) << c.id;
        EXPECT_EQ(control->geometry(), QRect(c.x, c.y, c.width, c.height)) << c.id;
        EXPECT_EQ(control->isVisible(), c.shown_at_start) << c.id;
        if (c.stem == nullptr) continue;
        // Skinned from the installed tree, clipped to the ellipse of the button's size.
        const auto* button = static_cast<const CSkinButton*>(control);
        const std::string folder = kInstalledFolder + "/skin1/";
        EXPECT_EQ(button->StateImage(),
                  folder + c.stem + (button->isEnabled() ? "1" : "4") + ".bmp")
            << c.id;
        EXPECT_TRUE(fs::exists(button->StateImage())) << button->StateImage();
        EXPECT_TRUE(button->mask().contains(QPoint(c.width / 2, c.height / 2))) << c.id;
        EXPECT_FALSE(button->mask().contains(QPoint(0, 0))) << c.id;
    }
    for (int id : {kOk, kLive, kStop, kDisk, kSpare1021, kSpare1022, kSpare1023, kSpare1024,
                   kSpare1029, kMap, kAudioOff}) {
        EXPECT_FALSE(window_->Control(id)->isVisible()) << id;
    }
    EXPECT_EQ(window_->Control(kCoverPlate)->mask(),
              QRegion(QRect(0, 0, 100, 100), QRegion::Ellipse));
    EXPECT_EQ(Button(kConnect)->toolTip(), "CONNECT");
    EXPECT_EQ(Button(kMap)->toolTip(), "地图显示");

    const std::pair<int, int> periods[] = {{10, 300}, {11, 200}, {12, 1000}, {13, 60000},
                                           {14, 300}, {15, 350}, {26, 100},  {30, 100}};
    for (const auto& [id, period_ms] : periods) {
        EXPECT_TRUE(window_->Timers().IsActive(id)) << id;
        EXPECT_EQ(window_->Timers().Interval(id), period_ms) << id;
    }

    // No store: the root alone, an empty label; no device, so CONNECT is shown but disabled.
    ASSERT_EQ(window_->Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(window_->Tree()->topLevelItem(0)->text(0), "DVR");
    EXPECT_EQ(ItemCount(), 0);
    EXPECT_EQ(window_->StatusLabel()->Text(), "");
    ASSERT_EVENTUALLY(!Button(kConnect)->isEnabled());
    EXPECT_TRUE(Button(kConnect)->isVisible());
    EXPECT_FALSE(Button(kDisconnect)->isVisible());
}

TEST_F(LiveViewDlgTest, DraggedByItsBackgroundWithoutPicturesAndEscNeverCloses) {
    Open();
    // A press beside the grid: the window follows the pointer, and the frame threads draw
    // nothing until the first tick after the release.
    QTest::mousePress(window_.get(), Qt::LeftButton, {}, QPoint(10, 300));
    QTest::mouseMove(window_.get(), QPoint(60, 320));
    EXPECT_EQ(window_->pos(), QPoint(50, 20));
    EXPECT_EQ(manager_->IsDragging(), 1);
    window_->OnTimer(live_view_timer::kHoverTitle);
    EXPECT_EQ(manager_->IsDragging(), 1) << "still held";
    QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, QPoint(10, 300));
    window_->OnTimer(live_view_timer::kHoverTitle);
    EXPECT_EQ(manager_->IsDragging(), 0);
    // One background repaint follows the drag.
    window_->OnTimer(live_view_timer::kDragEnd);
    EXPECT_TRUE(window_->Timers().IsActive(live_view_timer::kRepaint));
    ASSERT_EVENTUALLY(!window_->Timers().IsActive(live_view_timer::kRepaint));

    // A press on a cell is not a drag.
    QTest::mousePress(window_.get(), Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_EQ(manager_->IsDragging(), 0);
    QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, QPoint(300, 300));

    QTest::keyClick(window_.get(), Qt::Key_Escape);
    QTest::keyClick(window_.get(), Qt::Key_Return);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_FALSE(window_->Closed());
}

TEST_F(LiveViewDlgTest, TheStoresDevicesFillTheTreeAndTheFirstIsSelected) {
    WriteStore({{"10.0.0.1:6802", "admin", "admin", "Gate"},
                {"10.0.0.2:6802", "admin", "admin", "Yard"},
                {"10.0.0.3:6802", "admin", "admin", "Hall"}});
    Open();
    ASSERT_EQ(ItemCount(), 3);
    const char* names[] = {"Gate", "Yard", "Hall"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ItemText(i), names[i]);
        EXPECT_EQ(ItemImage(i), CLiveViewDlg::kImageIdle);
    }
    EXPECT_EQ(window_->FindSelectedItem(), 0);
    EXPECT_EQ(window_->StatusLabel()->Text(), "Gate");
    // Link state 0: CONNECT and SET enabled, REC shown but disabled, DIS and STOP REC hidden.
    ASSERT_EVENTUALLY(!Button(kRec)->isEnabled());
    EXPECT_TRUE(Button(kConnect)->isVisible() && Button(kConnect)->isEnabled());
    EXPECT_TRUE(Button(kSet)->isEnabled());
    EXPECT_TRUE(Button(kRec)->isVisible());
    EXPECT_FALSE(Button(kDisconnect)->isVisible());
    EXPECT_FALSE(Button(kStopRec)->isVisible());
}

TEST_F(LiveViewDlgTest, AddAtSixtyFourDevicesSaysSoWithoutTheDialog) {
    std::vector<Device> devices;
    for (int i = 0; i < 64; ++i)
        devices.push_back({"10.0.0.1:" + std::to_string(6000 + i), "admin", "admin", "D"});
    WriteStore(devices);
    Open();
    ASSERT_EQ(ItemCount(), 64);
    Click(kAdd);
    ASSERT_EQ(boxes_.Texts(), QStringList{"Can't add, already maximum point."});
    EXPECT_EQ(manager_->GetDvrCount(), 64);
}

TEST_F(LiveViewDlgTest, AddTakesTheAddressDialogsDeviceIntoTheTree) {
    WriteStore({{"10.0.0.1:6802", "admin", "admin", "Gate"}});
    Open();
    {
        ModalAct<DlgDeviceLogin> cancel([](DlgDeviceLogin& d) { Press(d, "cancel"); });
        Click(kAdd);
        ASSERT_TRUE(cancel.Ran());
    }
    EXPECT_EQ(ItemCount(), 1);
    QString offered;
    ModalAct<DlgDeviceLogin> fill([&](DlgDeviceLogin& d) {
        offered = d.findChild<QLineEdit*>("address")->text();
        Type(d, "password", "secret");
        Press(d, "ok");
    });
    Click(kAdd);
    ASSERT_TRUE(fill.Ran());
    EXPECT_EQ(offered, "192.168.1.100:6802");
    ASSERT_EQ(ItemCount(), 2);
    EXPECT_EQ(ItemText(1), "192.168.1.100:6802");
    EXPECT_EQ(ItemImage(1), CLiveViewDlg::kImageIdle);
    _DVR_SETTINGS_ added;
    ASSERT_EQ(manager_->GetDvr(1, added), 1);
    EXPECT_EQ(added.user, "USER01");
    EXPECT_EQ(added.password, "secret");
    EXPECT_EQ(added.show_name, "192.168.1.100:6802");
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(LiveViewDlgTest, ThePasswordCheckAtStartUpSetsTheRoleOrEndsTheProgram) {
    const std::vector<Device> devices = {{"10.0.0.1:6802", "admin", "admin", "Gate"}};
    struct Case {
        const char* entry;  // nullptr: Cancel
        int role;
    };
    for (const Case c : {Case{"470319", 1}, Case{"258604", 2}, Case{nullptr, 0}}) {
        WriteStore(devices, 1);
        ModalAct<DlgLockCheck> answer([&](DlgLockCheck& d) {
            if (c.entry == nullptr) return Press(d, "cancel");
            Type(d, "entry", c.entry);
            Press(d, "ok");
        });
        Open();
        ASSERT_TRUE(answer.Ran());
        if (c.entry == nullptr) {
            // Ended through the one way out: the store is written back as it was.
            EXPECT_TRUE(window_->Closed());
            EXPECT_FALSE(window_->isVisible());
            const UserStoreContent stored = ReadStore();
            EXPECT_EQ(stored.devices.GetDvrCount(), 1);
            EXPECT_EQ(stored.password_on, 1);
        } else {
            EXPECT_TRUE(window_->PasswordLock());
            EXPECT_EQ(window_->Role(), c.role);
            // Timers 10 and 14 apply the role: the user may watch, not manage.
            const bool admin = c.role == 1;
            ASSERT_EVENTUALLY(!Button(kRec)->isEnabled());  // timer 10 ran: device idle
            ASSERT_EVENTUALLY_EQ(Button(kAdd)->isEnabled(), admin);
            for (int id : {kDelete, kAdmin, kSet})
                EXPECT_EQ(Button(id)->isEnabled(), admin) << c.entry << " " << id;
        }
        window_.reset();
        manager_.reset();
    }
}

TEST_F(LiveViewDlgTest, HoverTitlesOfTheSmallCellsStayInsideTheGrid) {
    Open();
    ASSERT_EQ(window_->FindSelectedItem(), -1);  // the root: the all-devices view
    window_->Grid()->Init(256, 64);
    window_->Grid()->ComputeCells();
    for (int cell = 0; cell < 64; ++cell) {
        manager_->SetWindowChannel(cell, 0);
        window_->Grid()->SetChannelName(cell, "Yard:CH" + std::to_string(cell + 1));
    }
    const QRect grid(window_->Grid()->mapToGlobal(QPoint(0, 0)), window_->Grid()->size());
    const int cell_height = window_->Grid()->Cells().Cell(0).height;
    struct Case {
        QPoint cursor;
        QPoint popup;
    };
    const Case cases[] = {
        {grid.topLeft() + QPoint(100, 100), grid.topLeft() + QPoint(100, 100 + cell_height)},
        {grid.bottomRight() - QPoint(20, 20),
         grid.bottomRight() - QPoint(20 + 135, 20 + cell_height)},
    };
    for (const Case& c : cases) {
        QCursor::setPos(c.cursor);
        window_->OnTimer(live_view_timer::kHoverTitle);
        window_->OnTimer(live_view_timer::kHoverTitle);
        DlgNotice* notice = window_->findChild<DlgNotice*>();
        ASSERT_NE(notice, nullptr) << c.cursor.x() << "," << c.cursor.y();
        EXPECT_EQ(notice->geometry(), QRect(c.popup, QSize(135, 14)));
        const int cell =
            window_->Grid()->HitTest(window_->mapFromGlobal(c.cursor) - QPoint(30, 35));
        EXPECT_EQ(notice->Text().toStdString(), "Yard:CH" + std::to_string(cell + 1));
        // Each notice goes by itself; the next needs the pointer on another cell.
        ASSERT_EVENTUALLY_WITHIN(window_->findChild<DlgNotice*>() == nullptr, kWait_ms);
        QCursor::setPos(grid.center());
        window_->OnTimer(live_view_timer::kHoverTitle);
    }
}

TEST_F(LiveViewDlgTest, ConnectingShowsTheUserLevelInTheTreeAndThePadAndFollowsTheLink) {
    StartRecorders({Recorder()});
    WriteStore(
        {{AddressOf(0), "admin", "admin", "Super"}, {AddressOf(0), "guest", "guest", "Guest"}});
    Open();

    Click(kConnect);
    ASSERT_EVENTUALLY_EQ_WITHIN(ItemImage(0), CLiveViewDlg::kImageSuperUser, kWait_ms);
    EXPECT_EQ(ItemText(0), "Super");
    EXPECT_TRUE(PadShown(*window_));
    EXPECT_EQ(window_->Control(kCoverPlate)->geometry(), QRect(-200, -220, 200, 220));
    // Streaming: DISCONNECT in CONNECT's place, REC and SET enabled.
    ASSERT_EVENTUALLY_WITHIN(!Button(kConnect)->isVisible() && Button(kRec)->isEnabled(), kWait_ms);
    EXPECT_TRUE(Button(kDisconnect)->isVisible() && Button(kDisconnect)->isEnabled());
    EXPECT_TRUE(Button(kSet)->isEnabled());
    ASSERT_EVENTUALLY_WITHIN(!Connecting(0), kWait_ms);  // the watch joined the thread

    // Recording swaps REC for STOP REC and disables SET.
    Click(kRec);
    ASSERT_EVENTUALLY(Button(kStopRec)->isVisible() && Button(kStopRec)->isEnabled());
    EXPECT_FALSE(Button(kRec)->isVisible());
    EXPECT_FALSE(Button(kSet)->isEnabled());
    EXPECT_GE(emulator_.Journal(0).key_frame_requests, 1);
    Click(kStopRec);
    ASSERT_EVENTUALLY(Button(kRec)->isVisible() && Button(kRec)->isEnabled());
    EXPECT_EQ(manager_->IsRecording(0), 0);

    // An ordinary user: image 1, the pad covered by its plate.
    Select(1);
    ASSERT_EVENTUALLY(Button(kConnect)->isVisible() && Button(kConnect)->isEnabled());
    Click(kConnect);
    ASSERT_EVENTUALLY_EQ_WITHIN(ItemImage(1), CLiveViewDlg::kImageUser, kWait_ms);
    EXPECT_FALSE(window_->Control(kUp)->isVisible());
    EXPECT_EQ(window_->Control(kCoverPlate)->geometry(), QRect(803, 44, 200, 220));

    // DISCONNECT: the device idles again with image 2.
    ASSERT_EVENTUALLY_WITHIN(Button(kDisconnect)->isVisible(), kWait_ms);
    Click(kDisconnect);
    EXPECT_EQ(ItemImage(1), CLiveViewDlg::kImageIdle);
    ASSERT_EVENTUALLY_WITHIN(Button(kConnect)->isVisible() && Button(kConnect)->isEnabled(),
                             kWait_ms);
    EXPECT_EQ(LinkState(1), kLinkIdle);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(LiveViewDlgTest, ConnectPressedTwiceStartsOneThread) {
    ListenSocket silent;  // takes the connection and answers nothing: the log-in waits
    silent.OpenLoopback();
    WriteStore({{"127.0.0.1:" + std::to_string(silent.Port()), "admin", "admin", "Slow"}});
    Open();
    Click(kConnect);
    Click(kConnect);
    const int connection = silent.Accept(kWait_ms);
    ASSERT_GE(connection, 0);
    ASSERT_EVENTUALLY_EQ(ItemText(0), "connecting...");
    // Let the log-in fail: every connect thread that ran says so in a box of its own.
    ::close(connection);
    silent.Close();
    ASSERT_EVENTUALLY_WITHIN(!Connecting(0), kWait_ms);
    EXPECT_EQ(boxes_.Texts().size(), 1) << boxes_.Texts().join("|").toStdString();
    EXPECT_EQ(ItemText(0), "Slow");
    EXPECT_EQ(ItemImage(0), CLiveViewDlg::kImageIdle);
}

TEST_F(LiveViewDlgTest, FailedLogInsShowTheirTextsUnlessTheDeviceConnectsOnItsOwn) {
    StartRecorders({Recorder()});
    ListenSocket closed;
    closed.OpenLoopback();
    const std::string nobody = "127.0.0.1:" + std::to_string(closed.Port());
    closed.Close();
    std::string error;
    ASSERT_TRUE(emulator_.StartLookup(0, &error)) << error;
    options_.lookup_port = emulator_.LookupPort();
    WriteStore({{AddressOf(0), "admin", "wrong", "Yard"},
                {nobody, "admin", "admin", "Gone"},
                {AddressOf(0), "admin", "wrong", "Quiet", 1},
                {"127.0.0.1/NOBODY", "admin", "admin", "Far"}});
    Open();
    // The root's CONNECT connects every idle device.
    window_->Tree()->setCurrentItem(window_->Tree()->topLevelItem(0));
    Click(kConnect);
    ASSERT_EVENTUALLY_WITHIN(!Connecting(0) && !Connecting(1) && !Connecting(2) && !Connecting(3),
                             kWait_ms);
    // The lookup's own word comes through the manager's message sink.
    QStringList texts = boxes_.Texts();
    texts.sort();
    EXPECT_EQ(texts,
              (QStringList{"Dvr is not online!\n", "Far: Net Error!\n", "Gone: Connect error!\n",
                           "Yard: The user or the password is wrong\n"}));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ItemImage(i), CLiveViewDlg::kImageIdle) << i;
    EXPECT_EQ(ItemText(2), "Quiet");
}

TEST_F(LiveViewDlgTest, ALostLinkIsResetAndOnlyAutoConnectingDevicesComeBackOnTheirOwn) {
    StartRecorders({Recorder(), Recorder()});
    WriteStore(
        {{AddressOf(0), "admin", "admin", "Auto", 1}, {AddressOf(1), "admin", "admin", "Manual"}});
    Open();
    // Timer 13's tick connects the auto-connecting device only.
    window_->OnTimer(live_view_timer::kKeepAwake);
    ASSERT_EVENTUALLY_EQ_WITHIN(LinkState(0), kLinkStreaming, kWait_ms);
    EXPECT_EQ(LinkState(1), kLinkIdle);
    Select(1);
    ASSERT_EVENTUALLY(Button(kConnect)->isEnabled());
    Click(kConnect);
    ASSERT_EVENTUALLY_EQ_WITHIN(LinkState(1), kLinkStreaming, kWait_ms);
    ASSERT_EVENTUALLY_WITHIN(!Connecting(0) && !Connecting(1), kWait_ms);

    emulator_.InjectFault(0, Fault::kDropLink);
    emulator_.InjectFault(1, Fault::kDropLink);
    // Timer 12 resets both; only the manual device's loss is reported, once.
    ASSERT_EVENTUALLY_WITHIN(LinkState(0) == kLinkIdle && LinkState(1) == kLinkIdle, kWait_ms);
    ASSERT_TRUE(boxes_.WaitForCount(1, kWait_ms));
    const MessageBoxRequest& box = boxes_.Requests().at(0);
    EXPECT_EQ(box.text.toStdString(),
              "Manual: The network is disconnected extraordinarily or is disconnected by the "
              "server\n");
    EXPECT_EQ(box.caption, "Net Error");
    EXPECT_EQ(box.icon, MessageBoxIcon::kError);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(ItemImage(0), CLiveViewDlg::kImageIdle);
    EXPECT_EQ(ItemImage(1), CLiveViewDlg::kImageIdle);

    window_->OnTimer(live_view_timer::kKeepAwake);
    ASSERT_EVENTUALLY_EQ_WITHIN(LinkState(0), kLinkStreaming, kWait_ms);
    ASSERT_EVENTUALLY_EQ_WITHIN(ItemImage(0), CLiveViewDlg::kImageSuperUser, kWait_ms);
    EXPECT_EQ(LinkState(1), kLinkIdle);
    EXPECT_EQ(boxes_.Texts().size(), 1);
}

TEST_F(LiveViewDlgTest, DeleteAsksFirstAndTheStoreIsWrittenAtExit) {
    WriteStore({{"10.0.0.1:6802", "admin", "admin", "Gate"},
                {"10.0.0.2:6802", "admin", "admin", "Yard"},
                {"10.0.0.3:6802", "admin", "admin", "Hall"}});
    Open();
    Select(1);
    boxes_.Answer(MessageBoxAnswer::kNo);
    Click(kDelete);
    ASSERT_EQ(boxes_.Requests().size(), 1u);
    EXPECT_EQ(boxes_.Requests()[0].text, "Are you sure to delete the user infomation?");
    EXPECT_EQ(boxes_.Requests()[0].caption, "INFOMATION");
    EXPECT_EQ(boxes_.Requests()[0].buttons, MessageBoxButtons::kYesNo);
    EXPECT_EQ(ItemCount(), 3);

    Select(1);
    Click(kDelete);
    ASSERT_EQ(ItemCount(), 2);
    EXPECT_EQ(ItemText(0), "Gate");
    EXPECT_EQ(ItemText(1), "Hall");
    EXPECT_EQ(manager_->GetCurrentDvr(), 0);

    Click(kExit);
    EXPECT_FALSE(window_->isVisible());
    const UserStoreContent stored = ReadStore();
    ASSERT_EQ(stored.devices.GetDvrCount(), 2);
    EXPECT_EQ(stored.devices.Entry(1).settings.show_name, "Hall");
}

TEST_F(LiveViewDlgTest, AfterDeleteTheViewTheLabelAndTheTreeAgree) {
    // The device before the deleted one is shown; after device 0, every device's view.
    const struct {
        int deleted;
        int shown;  // -1: the root
        const char* label;
    } cases[] = {{2, 1, "Yard"}, {1, 0, "Gate"}, {0, -1, " ALL DVR"}};
    for (const auto& c : cases) {
        WriteStore({{"10.0.0.1:6802", "admin", "admin", "Gate"},
                    {"10.0.0.2:6802", "admin", "admin", "Yard"},
                    {"10.0.0.3:6802", "admin", "admin", "Hall"}});
        Open();
        Select(c.deleted);
        Click(kDelete);
        ASSERT_EQ(ItemCount(), 2) << c.deleted;
        EXPECT_EQ(window_->FindSelectedItem(), c.shown) << c.deleted;
        EXPECT_EQ(window_->CurrentDvr(), c.shown) << c.deleted;
        EXPECT_EQ(manager_->GetCurrentDvr(), c.shown) << c.deleted;
        EXPECT_EQ(manager_->IsAllDvrMode(), c.shown < 0 ? 1 : 0) << c.deleted;
        EXPECT_EQ(window_->StatusLabel()->Text(), c.label) << c.deleted;
        EXPECT_EQ(window_->Grid()->Cells().Total(), c.shown < 0 ? 256 : 16) << c.deleted;
        window_.reset();
        manager_.reset();
    }
}

TEST_F(LiveViewDlgTest, AShortStoreGivesTheDevicesThatLieWholeAndSaysWhereTheFileWasKept) {
    WriteStore({{"10.0.0.1:6802", "admin", "admin", "Gate"},
                {"10.0.0.2:6802", "admin", "admin", "Yard"},
                {"10.0.0.3:6802", "admin", "admin", "Hall"}});
    fs::resize_file(StorePath(), 43000);  // cut inside the window map
    Open();
    ASSERT_EQ(ItemCount(), 3);
    EXPECT_EQ(ItemText(2), "Hall");
    EXPECT_EQ(window_->StatusLabel()->Text(), "Gate");
    ASSERT_EQ(boxes_.Requests().size(), 1u);
    EXPECT_EQ(boxes_.Requests()[0].text.toStdString(),
              FillText(window_->Texts().Text("Store_Word1"), {StorePath() + ".damaged"}));
    EXPECT_EQ(fs::file_size(StorePath() + ".damaged"), 43000u);

    // The store is written whole at the exit, with its devices; the next start says nothing.
    Click(kExit);
    EXPECT_EQ(ReadStore().devices.GetDvrCount(), 3);
    EXPECT_EQ(fs::file_size(StorePath() + ".damaged"), 43000u);
    window_.reset();
    manager_.reset();
    Open();
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(boxes_.Requests().size(), 1u);
}

TEST_F(LiveViewDlgTest, AStoreThatCanNotBeWrittenAtExitIsReportedBeforeTheEnd) {
    WriteStore({{"10.0.0.1:6802", "admin", "admin", "Gate"}});
    Open();
    fs::remove(StorePath());
    fs::create_directory(StorePath());  // where the file should go
    Click(kExit);
    EXPECT_TRUE(window_->Closed());
    ASSERT_EQ(boxes_.Requests().size(), 1u);
    EXPECT_EQ(boxes_.Requests()[0].text.toStdString(),
              FillText(window_->Texts().Text("Store_Word2"), {StorePath()}));
    EXPECT_EQ(boxes_.Requests()[0].icon, MessageBoxIcon::kError);
}

TEST_F(LiveViewDlgTest, ClosingWithConnectThreadsInFlightEndsAtOnce) {
    ListenSocket silent_recorder;
    silent_recorder.OpenLoopback();
    ListenSocket silent_lookup;
    silent_lookup.OpenLoopback();
    options_.lookup_port = silent_lookup.Port();
    // Far beyond what closing may take.
    options_.net_timeouts.connect_ms = options_.net_timeouts.exchange_ms = 30000;
    options_.lookup_timeouts = {30000, 30000, 30000};
    WriteStore({{"127.0.0.1:" + std::to_string(silent_recorder.Port()), "admin", "admin", "Hung"},
                {"127.0.0.1/FRONTDOOR", "admin", "admin", "Looked"}});
    Open();
    window_->Tree()->setCurrentItem(window_->Tree()->topLevelItem(0));
    Click(kConnect);
    ASSERT_GE(silent_recorder.Accept(kWait_ms), 0);
    ASSERT_GE(silent_lookup.Accept(kWait_ms), 0);

    QElapsedTimer closing;
    closing.start();
    Click(kExit);
    EXPECT_LT(closing.elapsed(), 10000);
    EXPECT_FALSE(window_->isVisible());
    window_.reset();
    manager_.reset();
    EXPECT_TRUE(boxes_.Texts().isEmpty());
    EXPECT_EQ(ReadStore().devices.GetDvrCount(), 2);
}

TEST_F(LiveViewDlgTest, ClosingWhileAConnectThreadWaitsForItsBoxEnds) {
    ListenSocket gone;
    gone.OpenLoopback();
    const std::string nobody = "127.0.0.1:" + std::to_string(gone.Port());
    gone.Close();
    WriteStore({{nobody, "admin", "admin", "Gone"}});
    Open();
    // The operator closes the program while the failure's box is up.
    SetMessageBoxHandler([this](const MessageBoxRequest&) {
        window_->OnCancel();
        return MessageBoxAnswer::kOk;
    });
    Click(kConnect);
    ASSERT_EVENTUALLY_WITHIN(!window_->isVisible(), kWait_ms);
    window_.reset();
    manager_.reset();
}
