#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "SegmentLabel.h"
#include "SkinButton.h"
#include "StartDlg.h"
#include "TestFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWait_ms = 10000;
const char* const kPrograms[] = {"PlayBack", "Oculan", "Rewinda", "Firmora"};

// A launcher's folder: its settings, the client folder's language files and skin4 from the
// built tree, and stand-ins for the programs that write down their arguments when started.
class StartDlgTest : public ::testing::Test {
protected:
    StartDlgTest() {
        const fs::path client = Folder() / "ClientSoftware";
        fs::create_directories(client / "language");
        fs::create_directories(Folder() / "config");
        const fs::path built = fs::path(SUITE_TREE_DIR) / "ClientSoftware";
        for (const char* file : {"english.txt", "chinese.txt"}) {
            fs::copy_file(built / "language" / file, client / "language" / file);
        }
        fs::create_directory_symlink(built / "skin4", client / "skin4");
    }

    fs::path Folder() const { return folder_.Path(); }

    void WriteSettings(const std::string& text) const {
        std::ofstream(Folder() / "config" / "config.ini") << text;
    }

    void AddStandIns() const {
        for (const char* program : kPrograms) {
            const fs::path path = Folder() / "ClientSoftware" / program;
            std::ofstream(path) << "#!/bin/sh\n"
                                   "printf '%s\\n' \"$#\" \"$@\" > \"$0.part\" && "
                                   "mv \"$0.part\" \"$0.started\"\n";
            fs::permissions(path, fs::perms::owner_all);
        }
    }

    // What a stand-in wrote: its argument count and arguments, or nothing when not started.
    std::string Started(const char* program) const {
        std::ifstream file(Folder() / "ClientSoftware" / (std::string(program) + ".started"));
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    void Show(CStartDlg& dialog) const {
        dialog.OnInitDialog();
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    template <class T = QWidget>
    static T* Control(const CStartDlg& dialog, const char* name) {
        auto* control = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

private:
    TestFolder folder_;
};

}  // namespace

TEST_F(StartDlgTest, EachProgramButtonStartsItsProgramWithoutArgumentsAndCloses) {
    const char* const buttons[] = {"player", "live_view", "remote_playback", "update_tool"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(buttons[i]);
        AddStandIns();
        CStartDlg dialog(Folder().string());
        Show(dialog);
        QTest::mouseClick(Control(dialog, buttons[i]), Qt::LeftButton);

        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, kWait_ms));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Started(kPrograms[i]).empty(); }, kWait_ms));
        EXPECT_EQ(Started(kPrograms[i]), "0\n");
        for (const char* other : kPrograms) {
            if (other != kPrograms[i]) {
                EXPECT_EQ(Started(other), "") << other;
            }
        }
        fs::remove(Folder() / "ClientSoftware" / (std::string(kPrograms[i]) + ".started"));
    }
}

TEST_F(StartDlgTest, AMissingProgramClosesTheLauncherWithoutAMessage) {
    CStartDlg dialog(Folder().string());
    Show(dialog);
    QTest::mouseClick(Control(dialog, "live_view"), Qt::LeftButton);

    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, kWait_ms));
    for (QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
    }
}

TEST_F(StartDlgTest, EscAndEnterLeaveTheWindowOpenMinimiseKeepsItCloseEndsIt) {
    AddStandIns();
    CStartDlg dialog(Folder().string());
    Show(dialog);
    QSignalSpy finished(&dialog, &QDialog::finished);
    QWidget* live_view = Control(dialog, "live_view");
    live_view->setFocus();
    for (QWidget* target : {static_cast<QWidget*>(&dialog), live_view}) {
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
    }
    QApplication::processEvents();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(finished.count(), 0);

    QTest::mouseClick(Control(dialog, "minimize"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isMinimized(); }, kWait_ms));
    EXPECT_TRUE(dialog.isVisible());

    dialog.showNormal();
    QTest::mouseClick(Control(dialog, "close"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(finished.count(), 1);
    for (const char* program : kPrograms) {
        EXPECT_EQ(Started(program), "") << program;
    }
}

TEST_F(StartDlgTest, TextsFollowTheLanguageSettingExactly) {
    struct Case {
        const char* settings;
        const char* tooltips[4];
        const char* language_labels[2];
        const char* checked_choice;
    };
    const Case cases[] = {
        {"[ServerInfo]\nLanguage=chinese\n",
         {"录像文件播放器", "实时预览", "远程回放", "升级工具"},
         {"中文", "英文"},
         "chinese_choice"},
        {"[ServerInfo]\nLanguage=Chinese\n",
         {"QMX Player", "Live View", "Remote Playback", "Update Tool"},
         {"Chinese", "English"},
         "english_choice"},
        {"",
         {"QMX Player", "Live View", "Remote Playback", "Update Tool"},
         {"Chinese", "English"},
         "english_choice"},
    };
    const char* const buttons[] = {"player", "live_view", "remote_playback", "update_tool"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        WriteSettings(c.settings);
        CStartDlg dialog(Folder().string());
        Show(dialog);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Control(dialog, buttons[i])->toolTip().toStdString(), c.tooltips[i]);
        }
        EXPECT_EQ(Control<CSegmentLabel>(dialog, "chinese_label")->Text(), c.language_labels[0]);
        EXPECT_EQ(Control<CSegmentLabel>(dialog, "english_label")->Text(), c.language_labels[1]);
        EXPECT_EQ(Control<CSegmentLabel>(dialog, "status_label")->Text(), "");
        EXPECT_TRUE(Control<QRadioButton>(dialog, c.checked_choice)->isChecked());
    }
}

TEST_F(StartDlgTest, ControlsSitAtTheirPlacesWithTheirSkin) {
    struct Case {
        const char* name;
        QRect place;
        const char* stem;  // skin4 image stem of a skinned button
        bool shown;
    };
    const Case cases[] = {
        {"player", {20, 30, 63, 82}, "FILEPLAY", true},
        {"live_view", {100, 30, 63, 82}, "LOCAL VIEW", true},
        {"remote_playback", {180, 30, 63, 82}, "NETPLAY", true},
        {"update_tool", {260, 30, 63, 82}, "TOVRA", true},
        {"minimize", {280, 0, 25, 25}, "MIN", true},
        {"close", {310, 0, 25, 25}, "CLOSE", true},
        {"status_label", {20, 120, 80, 20}, nullptr, true},
        {"chinese_choice", {130, 122, 16, 16}, nullptr, false},
        {"chinese_button", {130, 122, 16, 16}, "botton", false},
        {"chinese_plain_button", {130, 122, 16, 16}, nullptr, false},
        {"english_choice", {230, 122, 16, 16}, nullptr, false},
        {"english_button", {230, 122, 16, 16}, "botton", false},
        {"english_plain_button", {230, 122, 16, 16}, nullptr, false},
        {"chinese_label", {145, 120, 15, 15}, nullptr, false},
        {"english_label", {245, 120, 15, 15}, nullptr, false},
    };
    CStartDlg dialog(Folder().string());
    Show(dialog);
    const QRect area = dialog.screen()->availableGeometry();
    EXPECT_EQ(dialog.geometry(), QRect(area.x() + (area.width() - 358) / 2,
                                       area.y() + (area.height() - 175) / 2, 358, 175));
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    const std::string skin = (Folder() / "ClientSoftware" / "skin4").string() + "/";
    for (const Case& c : cases) {
        QWidget* control = Control(dialog, c.name);
        EXPECT_EQ(control->geometry(), c.place) << c.name;
        EXPECT_EQ(control->isVisible(), c.shown) << c.name;
        if (c.stem) {
            const auto* button = qobject_cast<CSkinButton*>(control);
            EXPECT_EQ(button->StateImage(), skin + c.stem + "1.bmp") << c.name;
            EXPECT_FALSE(button->mask().isEmpty()) << c.name;
        }
    }
}
