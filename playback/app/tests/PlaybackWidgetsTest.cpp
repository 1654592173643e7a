// The playback window's own controls: the image slider, the record timeline and the log-in
// dialog's offer.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <vector>

#include "common/settings/ConfigFile.h"
#include "common/ui/widgets/ColorRef.h"
#include "common/ui/widgets/QueuedGate.h"
#include "playback/app/CImageSlider.h"
#include "playback/app/CRecordTimeline.h"
#include "playback/app/DlgPlaybackLogin.h"
#include "tests/support/TestFolder.h"

namespace {

std::array<long, 3> Post(int message, long position) { return {message, 1022, position}; }

}  // namespace

TEST(PlaybackWidgets, ImageSliderPostsWhileDraggedAndWhenMoved) {
    QWidget parent;
    parent.resize(760, 60);
    const QColor ground(0, 160, 0);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, ground);
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    CImageSlider slider(1022, SUITE_TREE_DIR "/ClientSoftware", &parent);
    // What the slider posts to its window, in order: message, control id, position.
    std::vector<std::array<long, 3>> posts;
    const auto gate = CreateQueuedGate(&parent);
    slider.SetMessageTarget(gate, [&posts](int message, int id, int position) {
        posts.push_back({message, id, position});
    });
    slider.setGeometry(0, 0, 703, 30);
    ASSERT_EQ(slider.SetBitmaps(132, 133, true, CImageSlider::kColourOfPixel, 0, 0), 1);
    slider.SetRange(0, 1440);
    slider.SetFocusRectOption(false, false);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

    // The thumb is drawn through its see-through colour: the ground shows at its corner.
    slider.SetPos(720);
    const QImage drawn = parent.grab().toImage();
    EXPECT_EQ(drawn.pixel(351 - 12, 0), ground.rgb());
    EXPECT_NE(drawn.pixel(351, 5), ground.rgb());

    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(212, 10));
    QTest::mouseMove(&slider, QPoint(900, 10));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(900, 10));
    QTest::keyClick(&slider, Qt::Key_PageUp);
    QTest::keyClick(&slider, Qt::Key_Home);
    QTest::keyClick(&slider, Qt::Key_Left);
    QCoreApplication::processEvents();
    const std::vector<std::array<long, 3>> expected = {
        Post(WM_IMAGESLIDER_MOVING, 424),   Post(WM_IMAGESLIDER_MOVING, 1440),
        Post(WM_IMAGESLIDER_CHANGED, 1440), Post(WM_IMAGESLIDER_CHANGED, 1420),
        Post(WM_IMAGESLIDER_CHANGED, 0),    Post(WM_IMAGESLIDER_CHANGED, 0),
    };
    EXPECT_EQ(posts, expected);

    // Disabled: no thumb, no posts.
    posts.clear();
    slider.setEnabled(false);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(400, 10));
    QCoreApplication::processEvents();
    EXPECT_TRUE(posts.empty());
    EXPECT_EQ(parent.grab().toImage().pixel(351, 5), ground.rgb());
}

TEST(PlaybackWidgets, TimelinePaintsLabelsAndJoinedBars) {
    CRecordTimeline timeline;
    timeline.resize(726, 68);
    timeline.SetRange(0, 1440);
    constexpr std::time_t kDay = 1251417600;
    timeline.AddSegment(kDay + 10 * 3600 + 120, kDay + 10 * 3600 + 150, 0, 28);  // slot 120
    timeline.AddSegment(kDay + 3600, kDay + 2 * 3600, 3, 28);                    // 12 to 24
    timeline.SetRowLabels({"CAM01", "NONE", "NONE", "CAM04"});
    const QImage image = timeline.grab().toImage();

    const QRgb ground = ColorFromRef(CRecordTimeline::kGroundColour).rgb();
    const QRgb bar = ColorFromRef(CRecordTimeline::kBarColour).rgb();
    const QRgb line = ColorFromRef(CRecordTimeline::kLineColour).rgb();
    // Slot 120 of 681 pixels begins 283 pixels after the label column; rows are 17 high.
    EXPECT_EQ(image.pixel(45 + 283, 2), bar);
    EXPECT_EQ(image.pixel(45 + 283, 15), bar);
    EXPECT_EQ(image.pixel(45 + 283, 16), ground);  // the bar ends a pixel above the row line
    EXPECT_EQ(image.pixel(45 + 282, 8), ground);
    EXPECT_EQ(image.pixel(45 + 286, 8), ground);       // slot 121 begins at 286
    EXPECT_EQ(image.pixel(45 + 30, 17 * 3 + 8), bar);  // one bar from 01:00 to 02:00
    EXPECT_EQ(image.pixel(45 + 56, 17 * 3 + 8), bar);
    EXPECT_EQ(image.pixel(45 + 200, 17 * 3 + 8), ground);
    EXPECT_EQ(image.pixel(45, 30), line);
    EXPECT_EQ(image.pixel(300, 17), line);
    bool label_ink = false;
    for (int y = 2; y < 17; ++y) {
        for (int x = 3; x < 45; ++x)
            label_ink |= image.pixel(x, y) != ground;
    }
    EXPECT_TRUE(label_ink);

    timeline.Clear();
    EXPECT_EQ(timeline.grab().toImage().pixel(45 + 283, 8), ground);
}

TEST(PlaybackWidgets, LoginOffersTheRingAndTheUserOfAChosenServer) {
    TestFolder folder;
    std::filesystem::create_directories(folder.Path() / "config");
    DlgPlaybackLogin dialog(folder.Path().string());
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.windowTitle(), "Login");
    EXPECT_EQ(dialog.ServerBox()->count(), 0);
    EXPECT_EQ(dialog.ServerBox()->currentText(), "192.168.1.100:6802");
    EXPECT_EQ(dialog.UserEdit()->text(), "ADMIN0");
    EXPECT_EQ(dialog.ServerBox()->geometry(), QRect(70, 26, 300, 20));

    const CConfigFile settings(folder.Path().string());
    for (const char* entry : {"zeta:6802:zed", "Alpha:6802:root", "beta:6802:bob"}) {
        settings.AddServer(entry);
    }
    dialog.PasswordEdit()->setText("secret");
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.PasswordEdit()->text(), "");
    EXPECT_EQ(dialog.ServerBox()->currentText(), "beta:6802");
    EXPECT_EQ(dialog.UserEdit()->text(), "bob");
    QStringList listed;
    for (int i = 0; i < dialog.ServerBox()->count(); ++i)
        listed << dialog.ServerBox()->itemText(i);
    EXPECT_EQ(listed, QStringList({"Alpha:6802", "beta:6802", "zeta:6802"}));

    emit dialog.ServerBox()->activated(2);
    EXPECT_EQ(dialog.UserEdit()->text(), "zed");
}

// "PASSWORD:" is wider than the 50 pixels before its edit in the dialog face; it narrows itself
// rather than run under the edit.
TEST(PlaybackWidgets, LoginCaptionsEndBeforeTheirEdits) {
    TestFolder folder;
    std::filesystem::create_directories(folder.Path() / "config");
    DlgPlaybackLogin dialog(folder.Path().string());
    dialog.OnInitDialog();
    for (const char* name : {"server_label", "user_label", "password_label"}) {
        const QLabel* label = dialog.findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_LE(label->x() + QFontMetrics(label->font()).horizontalAdvance(label->text()),
                  dialog.UserEdit()->x())
            << name;
    }
}
