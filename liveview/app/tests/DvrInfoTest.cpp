#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "liveview/app/DlgDvrInfo.h"
#include "liveview/app/StaticLines.h"
#include "liveview/app/tests/RecorderFixture.h"
#include "liveview/core/dialogs/DvrInfoPanel.h"

namespace {

constexpr uint32_t kRecordLamp = 1u << 5;

class DvrInfoTest : public RecorderFixture {
protected:
    void SetUp() override {
        RecorderFixture::SetUp();
        RecorderConfig two_disks = Recorder();
        two_disks.disk_count = 2;
        two_disks.disk_size_mb = 1536;
        two_disks.lamp_word = 0x108;  // infrared and network
        RecorderConfig recording = Recorder();
        recording.lamp_word = kRecordLamp;
        StartRecorders({two_disks, recording});
        Connect(0);
        Connect(1);
    }

    // What the main window does: open the dialog, then fill it from its timer.
    void Open(int device) {
        dialog_.SetDevice(manager_.get(), device);
        dialog_.OnInitDialog();
        dialog_.open();
        dialog_.UpdateFromDevice();
    }

    QColor LampColour(int bit) {
        const QImage picture = dialog_.grab().toImage();
        for (const LampSpec& lamp : kLamps) {
            if (lamp.bit == bit)
                return picture.pixelColor((lamp.left + lamp.right) / 2,
                                          (lamp.top + lamp.bottom) / 2);
        }
        return {};
    }

    QPushButton* Rec() { return dialog_.findChild<QPushButton*>("rec"); }

    DlgDvrInfo dialog_;
};

}  // namespace

TEST_F(DvrInfoTest, ShowsTheRecordersDisksAndLamps) {
    Open(0);
    auto* disks = dialog_.findChild<QComboBox*>("disks");
    ASSERT_EQ(disks->count(), 2);
    EXPECT_EQ(disks->itemText(1), "DISK 1");
    const QStringList lines = dialog_.findChild<StaticLines*>("disk_text")->Lines();
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "Disk Size:1G");
    EXPECT_EQ(lines[1], "Surplus Size:40%");
    EXPECT_EQ(lines[4], "Earliest record time:");
    EXPECT_EQ(dialog_.LedWord(), 0x108);
    EXPECT_EQ(LampColour(8), QColor(255, 0, 0));
    EXPECT_EQ(LampColour(3), QColor(255, 0, 0));
    EXPECT_EQ(LampColour(5), QColor(Qt::white));
    EXPECT_TRUE(Rec()->isEnabled());
}

TEST_F(DvrInfoTest, RecSendsTheKeysAndTheLitRecordLampDisablesIt) {
    Open(0);
    QTest::mouseClick(Rec(), Qt::LeftButton);
    const RecorderJournal journal = emulator_.Journal(0);
    ASSERT_EQ(journal.commands.size(), 3u);
    const int32_t keys[] = {8, 8, 7};  // ESC, ESC, REC
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(journal.commands[i].nCommand, kNetCommandKey);
        EXPECT_EQ(journal.commands[i].nSubCode, keys[i]);
    }
    EXPECT_EQ(dialog_.LedWord() & static_cast<int>(kRecordLamp), static_cast<int>(kRecordLamp));
    EXPECT_FALSE(Rec()->isEnabled());
    EXPECT_EQ(LampColour(5), QColor(255, 0, 0));
}

TEST_F(DvrInfoTest, ARecordingRecorderKeepsRecDisabled) {
    Open(1);
    EXPECT_EQ(dialog_.findChild<QComboBox*>("disks")->count(), 1);
    EXPECT_FALSE(Rec()->isEnabled());
}

TEST_F(DvrInfoTest, UpdatesAfterClosingAreIgnored) {
    Open(0);
    QTest::keyClick(&dialog_, Qt::Key_Escape);
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_FALSE(dialog_.IsReady());
    const _DVR_DISK_INFO_ disk{2048, 1, 1, 0, 0, 0};
    EXPECT_EQ(dialog_.FillDisks(1, &disk), 0);
    EXPECT_EQ(dialog_.SetLedWord(0xff, 0xff), 0);
    EXPECT_EQ(dialog_.LedWord(), 0x108);

    // The next opening starts empty, with REC disabled, until the timer fills it.
    dialog_.OnInitDialog();
    EXPECT_EQ(dialog_.findChild<QComboBox*>("disks")->count(), 0);
    EXPECT_EQ(dialog_.LedWord(), 0);
    EXPECT_FALSE(Rec()->isEnabled());
}
