// The main window's video window offscreen against recorders of the emulator: layouts and
// pages, a cell alone and back, full window, tree selections, the channel menu, the
// pan/tilt/zoom pad, the snapshot and the audio pair. Presses go through the window as the
// window system delivers them, so the pad sees them before the buttons.
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <filesystem>
#include <numeric>
#include <optional>

#include "common/ui/core/SnapshotName.h"
#include "common/ui/widgets/SegmentLabel.h"
#include "common/ui/widgets/VideoGrid.h"
#include "common/ui/widgets/WindowSnapshot.h"
#include "liveview/app/SettleSteps.h"
#include "liveview/app/tests/LiveViewWindowTest.h"
#include "liveview/app/tests/ModalAct.h"
#include "liveview/core/window/LiveViewIds.h"
#include "platform/surface/VideoSurfaceView.h"
#include "tests/support/QtWaits.h"
#include "tools/oculan-watch/OculanScreen.h"

namespace {

using namespace live_view_id;

using Ptz = std::array<int, 3>;  // code, channel, action

// Chooses the channel item of a device's sub-menu as an operator would, by the keyboard; the
// item's id and check mark, or nothing (the menu closed) when it is not there.
std::optional<std::pair<int, bool>> Choose(QMenu& menu, const QString& device,
                                           const QString& channel) {
    const auto find = [](const QMenu& in, const QString& text) -> QAction* {
        for (QAction* action : in.actions()) {
            if (action->text() == text) return action;
        }
        return nullptr;
    };
    QAction* sub = find(menu, device);
    if (sub != nullptr) {
        menu.setActiveAction(sub);
        QTest::keyClick(&menu, Qt::Key_Right);
    }
    QAction* item = sub != nullptr && QTest::qWaitFor([&] { return sub->menu()->isVisible(); })
                        ? find(*sub->menu(), channel)
                        : nullptr;
    if (item == nullptr) {
        menu.close();
        return std::nullopt;
    }
    const std::pair<int, bool> chosen(item->data().toInt(), item->isChecked());
    sub->menu()->setActiveAction(item);
    QTest::keyClick(sub->menu(), Qt::Key_Return);
    return chosen;
}

class VideoWindowTest : public LiveViewWindowTest {
protected:
    CVideoGridLayout& Cells() const { return window_->Grid()->Cells(); }
    std::vector<int> Visible() const {
        std::vector<int> cells;
        for (int i = 0; i < CVideoGridLayout::kCellCount; ++i) {
            if (Cells().IsVisible(i)) cells.push_back(i);
        }
        return cells;
    }
    // The client point whose press lands in the middle of the cell.
    QPoint AtCell(int cell) const {
        const VideoCell c = Cells().Cell(cell);
        const QPoint offset = window_->FullWindow() ? QPoint() : QPoint(30, 35);
        return QPoint(c.x + c.width / 2, c.y + c.height / 2) + offset;
    }
    void ClickAt(const QPoint& client, Qt::MouseButton button = Qt::LeftButton) const {
        QTest::mouseClick(window_->windowHandle(), button, {}, client);
    }
    // The pad's buttons, held: the pointer goes there first, as the release guard reads it.
    void Press(int id) const {
        const QPoint at = window_->Control(id)->geometry().center();
        QCursor::setPos(window_->mapToGlobal(at));
        QTest::mousePress(window_->windowHandle(), Qt::LeftButton, {}, at);
    }
    void Release(int id) const {
        const QPoint at = window_->Control(id)->geometry().center();
        QTest::mouseRelease(window_->windowHandle(), Qt::LeftButton, {}, at);
    }
    void SelectRoot() const { window_->Tree()->setCurrentItem(window_->Tree()->topLevelItem(0)); }
    // Every device linked with the root's CONNECT.
    void ConnectAll(int count) {
        SelectRoot();
        Click(kConnect);
        for (int a = 0; a < count; ++a)
            ASSERT_EVENTUALLY_EQ_WITHIN(LinkState(a), kLinkStreaming, kWait_ms);
    }
    // The pan/tilt/zoom requests the recorder received.
    std::vector<Ptz> Commands() const {
        std::vector<Ptz> ptz;
        for (const _NET_COMMAND_& c : emulator_.Journal(0).commands) {
            if (c.nCommand == kNetCommandPtz) ptz.push_back({c.nSubCode, c.nChannel, c.nAction});
        }
        return ptz;
    }
};

}  // namespace

TEST_F(VideoWindowTest, LayoutsPagesSingleModeAndFullWindow) {
    StartRecorders({Recorder(16)});
    WriteStore({{AddressOf(0), "admin", "admin", "Gate"}});
    Open();
    Click(kConnect);
    ASSERT_EVENTUALLY_EQ_WITHIN(LinkState(0), kLinkStreaming, kWait_ms);
    // Device 0's view: 16 cells in total, the big layouts hidden.
    EXPECT_EQ(Cells().Total(), 16);
    EXPECT_FALSE(window_->Control(kWindow64)->isVisible());
    const std::vector<int> first16 = [] {
        std::vector<int> v(16);
        std::iota(v.begin(), v.end(), 0);
        return v;
    }();
    // The device view's steps also say which cameras the recorder is then asked for.
    struct Step {
        bool root;
        int button;
        int layout, page, first, count;
        uint32_t streamed;
    };
    const Step steps[] = {
        {false, kWindow16, 16, 0, 0, 16, 0xFFFF},  // total 16: the page wraps
        {false, kWindow9, 9, 0, 0, 9, 0x1FF},     {false, kWindow9, 9, 1, 9, 9, 0x3FE00},
        {false, kWindow9, 9, 0, 0, 9, 0x1FF},     {true, kWindow16, 16, 0, 0, 16, 0},
        {true, kWindow16, 16, 1, 16, 16, 0},  // total 256: the next 16 cells
        {true, kWindow256, 256, 0, 0, 256, 0},
    };
    for (const Step& s : steps) {
        if (s.root && window_->CurrentDvr() >= 0) SelectRoot();
        Click(s.button);
        EXPECT_EQ(Cells().Layout(), s.layout) << s.button;
        EXPECT_EQ(Cells().Page(), s.page) << s.button;
        ASSERT_EQ(Visible().size(), static_cast<std::size_t>(s.count)) << s.button;
        EXPECT_EQ(Visible().front(), s.first) << s.button;
        if (s.streamed != 0)
            ASSERT_EVENTUALLY_EQ(emulator_.Journal(0).live_requests.back().channel_mask,
                                 s.streamed);
    }
    EXPECT_EQ(window_->StatusLabel()->Text(), " ALL DVR");
    EXPECT_EQ(manager_->IsAllDvrMode(), 1);

    // A cell alone and back; a device selected in single mode goes to 16 cells at page 0.
    Click(kWindow16);
    ClickAt(AtCell(5));
    EXPECT_EQ(Visible(), std::vector<int>{5});
    EXPECT_EQ(window_->GetSelectedChannel(), 5);
    ClickAt(AtCell(5));
    EXPECT_EQ(Visible(), first16);
    ClickAt(AtCell(7));
    Select(0);
    EXPECT_EQ(Cells().Layout(), 16);
    EXPECT_EQ(Visible(), first16);
    EXPECT_EQ(window_->StatusLabel()->Text(), "Gate");
    EXPECT_EQ(manager_->IsAllDvrMode(), 0);
    // At 16 cells the page stays.
    SelectRoot();
    for (int i = 0; i < 3; ++i)
        Click(kWindow16);
    Select(0);
    EXPECT_EQ(Cells().Page(), 3);

    // Full window: the grid fills the screen, the controls wait out of sight; Esc brings the
    // window back at 1024 x 735. Esc in the normal layout does nothing.
    const QSize screen = window_->screen()->geometry().size();
    Click(kFullWindow);
    EXPECT_TRUE(window_->FullWindow());
    EXPECT_EQ(window_->geometry(), QRect(QPoint(0, 0), screen));
    EXPECT_EQ(window_->Grid()->geometry(), QRect(QPoint(0, 0), screen));
    EXPECT_EQ(window_->Control(kAdd)->geometry(), QRect(-50, -50, 20, 20));
    EXPECT_EQ(window_->Control(kCoverPlate)->geometry(), QRect(-200, -220, 200, 220));  // stays
    for (int repeat = 0; repeat < 2; ++repeat) {
        QTest::keyClick(window_.get(), Qt::Key_Escape);
        EXPECT_FALSE(window_->FullWindow());
        EXPECT_EQ(window_->geometry(), QRect(0, 0, 1024, 735));
        EXPECT_EQ(window_->Grid()->geometry(), QRect(30, 35, 750, 592));
        EXPECT_EQ(window_->Control(kAdd)->geometry(), QRect(956, 280, 60, 35));
        EXPECT_TRUE(window_->isVisible());
    }
}

TEST_F(VideoWindowTest, APressActsOnTheCellUnderThePointer) {
    Open();
    ASSERT_EQ(Cells().Layout(), 16);  // the grid lies at (30, 35), its cells 187 x 148
    const struct {
        QPoint client;
        int cell;
    } cases[] = {{{214, 100}, 0}, {{218, 100}, 1}, {{32, 37}, 0}, {{778, 625}, 15}, {{40, 184}, 4}};
    for (const auto& c : cases) {
        ClickAt(c.client);
        EXPECT_EQ(Visible(), std::vector<int>{c.cell}) << c.client.x() << "," << c.client.y();
        ClickAt(c.client);
        ASSERT_EQ(Visible().size(), 16u);
    }
}

TEST_F(VideoWindowTest, ViewChangesKeepTheWindowAnsweringWhileTheStreamsSettle) {
    StartRecorders({Recorder(16)});
    WriteStore({{AddressOf(0), "admin", "admin", "Gate"}});
    Open();
    Click(kConnect);
    ASSERT_EVENTUALLY_EQ_WITHIN(LinkState(0), kLinkStreaming, kWait_ms);
    // Each change returns at once; what follows its pause (the streams asked for, the grid
    // wiped) comes later, while the window goes on handling its events.
    const struct {
        const char* change;
        std::function<void()> act;
        int pause_ms;
        uint32_t streamed;  // the recorder's cameras once settled; 0: not looked at
    } cases[] = {
        {"layout", [&] { Click(kWindow9); }, CVideoGrid::kLayoutSettle_ms, 0x1FF},
        {"root", [&] { SelectRoot(); }, 300, 0},
        {"channel", [&] { window_->OnCommand(400000 + 5 * 10000 + 2); }, 3000, 1u << 2},
        {"device", [&] { Select(0); }, 300, 0xFFFF},
    };
    for (const auto& c : cases) {
        QElapsedTimer held;
        held.start();
        c.act();
        EXPECT_LT(held.elapsed(), c.pause_ms) << c.change;
        EXPECT_TRUE(window_->Settling()) << c.change;
        bool answered_meanwhile = false;
        QTimer::singleShot(0, window_.get(), [&] { answered_meanwhile = window_->Settling(); });
        ASSERT_EVENTUALLY_WITHIN(!window_->Settling(), kWait_ms);
        EXPECT_TRUE(answered_meanwhile) << c.change;
        if (c.streamed != 0) {
            ASSERT_EVENTUALLY_EQ(emulator_.Journal(0).live_requests.back().channel_mask,
                                 c.streamed);
        }
    }
    EXPECT_EQ(manager_->GetWindowChannel(5), 2);
}

TEST_F(VideoWindowTest, NoPictureStaysOutsideTheGridOnceFullWindowEnds) {
    StartRecorders({Recorder()});
    WriteStore({{AddressOf(0), "admin", "admin", "Gate"}});
    Open();
    Click(kConnect);
    Click(kWindow4);
    Click(kFullWindow);
    const auto all_shown = [&] {
        const QImage image = CaptureWindow(window_->Grid());
        for (int cell = 0; cell < 4; ++cell) {
            const VideoCell c = Cells().Cell(cell);
            if (ChannelOfPicture(
                    image, QRect(c.video_x, c.video_y, c.video_width, c.video_height)) != cell) {
                return false;
            }
        }
        return true;
    };
    ASSERT_EVENTUALLY_WITHIN(all_shown(), kWait_ms);
    // Picture pixels of the window's surface that lie outside the grid.
    const auto outside = [&] {
        const QRect grid = window_->Grid()->geometry();
        int count = 0;
        CVideoSurfaceView::Find(window_.get())
            ->Surface()
            ->Read([&](const std::uint32_t* pixels, int width, int height) {
                for (int y = 0; y < height; ++y) {
                    for (int x = 0; x < width; ++x) {
                        if (pixels[y * width + x] != 0 && !grid.contains(x, y)) ++count;
                    }
                }
            });
        return count;
    };
    const VideoCell full_cell = Cells().Cell(0);
    const QPoint full_origin = window_->Grid()->mapToGlobal(QPoint(0, 0));
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    EXPECT_EQ(outside(), 0);
    // A frame thread still on its way draws by the full window's cell: it stops at the grid.
    const ScreenRect stale{full_origin.x() + full_cell.video_x, full_origin.y() + full_cell.video_y,
                           full_origin.x() + full_cell.video_x + full_cell.video_width,
                           full_origin.y() + full_cell.video_y + full_cell.video_height};
    CVideoSurfaceView::Find(window_.get())
        ->Surface()
        ->DrawScaledRows(stale, 4, 4, [](const ScaledRow& row) {
            std::fill(row.out, row.out + row.count, 0xFFFFFFFFu);
        });
    EXPECT_EQ(outside(), 0);
    ASSERT_EVENTUALLY_WITHIN(all_shown(), kWait_ms);
    EXPECT_EQ(outside(), 0);
}

TEST_F(VideoWindowTest, TheChannelMenuPlacesAndTakesBackCamerasOfAnyDevice) {
    StartRecorders({Recorder(), Recorder(), Recorder()});
    WriteStore({{AddressOf(0), "admin", "admin", "Gate"},
                {AddressOf(1), "admin", "admin", "Lane"},
                {AddressOf(2), "admin", "admin", "Yard"}});
    Open();
    {
        // With a device selected a right press opens nothing.
        ModalAct<QMenu> none([](QMenu& menu) { menu.close(); });
        ClickAt(AtCell(5), Qt::RightButton);
        EXPECT_FALSE(none.Ran());
    }
    ConnectAll(3);

    // Cell 5 offers NONE, then one sub-menu per linked device; CH03 of Yard goes there.
    QStringList offered;
    std::optional<std::pair<int, bool>> chosen;
    ModalAct<QMenu> place([&](QMenu& menu) {
        for (const QAction* action : menu.actions())
            offered << action->text();
        chosen = Choose(menu, "Yard", "CH03");
    });
    ClickAt(AtCell(5), Qt::RightButton);
    ASSERT_TRUE(place.Ran());
    EXPECT_EQ(offered, (QStringList{"NONE", "", "Gate", "Lane", "Yard"}));
    EXPECT_EQ(chosen, std::make_pair(400000 + 5 * 10000 + 2 * 100 + 2, false));
    ASSERT_EVENTUALLY_EQ(manager_->GetWindowChannel(5), 202);
    EXPECT_EQ(Cells().ChannelName(5), "Yard:CH03");
    EXPECT_EQ(window_->RightClickMark(), 0);
    // Yard streams just the camera on screen.
    ASSERT_EVENTUALLY_EQ(emulator_.Journal(2).live_requests.back().channel_mask, 1u << 2);

    // From cell 7 the camera carries a check mark; choosing it empties cell 5, not cell 7.
    ModalAct<QMenu> take_back([&](QMenu& menu) { chosen = Choose(menu, "Yard", "CH03"); });
    ClickAt(AtCell(7), Qt::RightButton);
    ASSERT_TRUE(take_back.Ran());
    EXPECT_EQ(chosen, std::make_pair(470202, true));
    ASSERT_EVENTUALLY_EQ(manager_->GetWindowChannel(5), -1);
    EXPECT_EQ(Cells().ChannelName(5), "");
    EXPECT_EQ(manager_->GetWindowChannel(7), -1);

    // A menu left without a choice keeps the hover titles off until the next left press.
    ModalAct<QMenu> dismiss([](QMenu& menu) { menu.close(); });
    ClickAt(AtCell(9), Qt::RightButton);
    ASSERT_TRUE(dismiss.Ran());
    EXPECT_EQ(window_->RightClickMark(), 1);

    // A cell whose stored key names a channel past the menu's (a store written elsewhere) is
    // emptied by its own item.
    manager_->SetWindowChannel(11, 20);
    QString first;
    ModalAct<QMenu> own_item([&](QMenu& menu) {
        QAction* item = menu.actions().front();
        first = item->text();
        menu.setActiveAction(item);
        QTest::keyClick(&menu, Qt::Key_Return);
    });
    ClickAt(AtCell(11), Qt::RightButton);
    ASSERT_TRUE(own_item.Ran());
    EXPECT_EQ(first, "Gate:CH21");
    ASSERT_EVENTUALLY_EQ(manager_->GetWindowChannel(11), -1);
}

TEST_F(VideoWindowTest, ThePadSteersTheCameraShownAlone) {
    StartRecorders({Recorder()});
    WriteStore({{AddressOf(0), "admin", "admin", "Gate"}});
    Open();
    Click(kConnect);
    ASSERT_EVENTUALLY_WITHIN(window_->Control(kUp)->isVisible(), kWait_ms);
    // Four cells shown: a press on UP posts nothing.
    Click(kWindow4);
    Press(kUp);
    Release(kUp);
    // Cell 3 alone: UP starts and stops; Z+ stops by the guard once the pointer left the pad;
    // ENTER acts once.
    ClickAt(AtCell(3));
    ASSERT_EQ(window_->GetSelectedChannel(), 3);
    Press(kUp);
    Release(kUp);
    Press(kZoomIn);
    EXPECT_EQ(window_->Pad().ButtonNumber(), 9);
    QCursor::setPos(window_->mapToGlobal(QPoint(400, 300)));
    ASSERT_EVENTUALLY(!window_->Pad().Pressed());
    QTest::mouseRelease(window_->windowHandle(), Qt::LeftButton, {}, QPoint(400, 300));
    Click(kEnter);
    ASSERT_EVENTUALLY_EQ(
        Commands(), (std::vector<Ptz>{{9, 3, 1}, {9, 3, 2}, {22, 3, 1}, {22, 3, 2}, {12, 3, 3}}));

    // The all-devices view: cell 1 alone shows no camera, and its requests go nowhere; cell 0
    // shows camera 2 of the device.
    manager_->SetWindowChannel(0, 2);
    SelectRoot();
    ClickAt(AtCell(0));  // back to the four cells
    ClickAt(AtCell(1));
    ASSERT_EQ(window_->GetSelectedChannel(), 1);
    Click(kAuto);
    ClickAt(AtCell(1));
    ClickAt(AtCell(0));
    Click(kAuto);
    ASSERT_EVENTUALLY_EQ(Commands().size(), 6u);
    EXPECT_EQ(Commands().back(), (Ptz{23, 2, 3}));
}

TEST_F(VideoWindowTest, ASnapshotInFullWindowHoldsThePicturesAtFullSize) {
    StartRecorders({Recorder()});
    WriteStore({{AddressOf(0), "admin", "admin", "Gate"}});
    Open();
    Click(kConnect);
    Click(kWindow4);
    Click(kFullWindow);
    // Each camera's first picture comes with its own key frame: wait for all four.
    const auto all_shown = [&](const QImage& image) {
        for (int cell = 0; cell < 4; ++cell) {
            const VideoCell c = Cells().Cell(cell);
            if (ChannelOfPicture(
                    image, QRect(c.video_x, c.video_y, c.video_width, c.video_height)) != cell) {
                return false;
            }
        }
        return true;
    };
    ASSERT_EVENTUALLY_WITHIN(all_shown(CaptureWindow(window_->Grid())), kWait_ms);

    const std::filesystem::path chosen = folder_.Path() / "shot.bmp";
    QString proposed;
    std::string before;
    ModalAct<QFileDialog> save([&](QFileDialog& dialog) {
        proposed = QFileInfo(dialog.selectedFiles().value(0)).fileName();
        dialog.selectFile(QString::fromStdString(chosen.string()));
        static_cast<QDialog&>(dialog).accept();
    });
    before = SnapshotNameNow();
    Click(kCapture);  // out of sight in full window, but there
    const std::string after = SnapshotNameNow();
    ASSERT_TRUE(save.Ran());
    EXPECT_TRUE(QRegularExpression("^\\d{8}_\\d{6}\\.bmp$").match(proposed).hasMatch());
    EXPECT_TRUE(before <= proposed.toStdString() && proposed.toStdString() <= after);
    const QImage shot(QString::fromStdString(chosen.string()), "BMP");
    EXPECT_EQ(shot.size(), window_->screen()->geometry().size());
    for (int cell = 0; cell < 4; ++cell) {
        const VideoCell c = Cells().Cell(cell);
        EXPECT_EQ(
            ChannelOfPicture(shot, QRect(c.video_x, c.video_y, c.video_width, c.video_height)),
            cell);
    }
}

TEST_F(VideoWindowTest, TheAudioPairPlaysTheSelectedDevicesSound) {
    RecorderConfig stereo = Recorder();
    stereo.audio_mask = 0x1;
    stereo.audio_block_bytes = 4096;
    RecorderConfig mono = stereo;
    mono.audio_block_bytes = 320;
    StartRecorders({stereo, mono});
    WriteStore({{AddressOf(0), "admin", "admin", "Stereo", 0, 1},
                {AddressOf(1), "admin", "admin", "Mono", 0, 1}});
    Open();
    ConnectAll(2);
    Select(1);
    const auto played = [&](int channels) {
        audio_.Advance(1000);
        const auto blocks = audio_.Played();
        return std::count_if(blocks.begin(), blocks.end(),
                             [&](const auto& block) { return block.channels == channels; });
    };
    Click(kAudioOn);
    EXPECT_FALSE(Button(kAudioOn)->isVisible());
    EXPECT_TRUE(Button(kAudioOff)->isVisible());
    ASSERT_EVENTUALLY_WITHIN(played(1) > 0, kWait_ms);
    EXPECT_EQ(played(2), 0);
    Click(kAudioOff);
    EXPECT_TRUE(Button(kAudioOn)->isVisible());
    EXPECT_FALSE(Button(kAudioOff)->isVisible());
}
