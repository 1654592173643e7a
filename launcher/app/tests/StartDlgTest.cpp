#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "launcher/app/StartDlg.h"
#include "launcher/app/tests/StandInProgram.h"
#include "tests/support/TestFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWait_ms = 10000;
const char* const kPrograms[] = {"PlayBack", "Oculan", "Rewinda", "Firmora"};
const char* const kButtons[] = {"player", "live_view", "remote_playback", "update_tool"};

// A launcher's folder with the built tree's language files and skin4.
class StartDlgTest : public ::testing::Test {
protected:
    StartDlgTest() {
        const fs::path built = fs::path(SUITE_TREE_DIR) / "ClientSoftware";
        fs::create_directories(Client());
        fs::create_directories(folder_.Path() / "config");
        fs::create_directory_symlink(built / "language", Client() / "language");
        fs::create_directory_symlink(built / "skin4", Client() / "skin4");
    }

    fs::path Client() const { return folder_.Path() / "ClientSoftware"; }

    std::unique_ptr<CStartDlg> Show(const std::string& settings = "") const {
        std::ofstream(folder_.Path() / "config" / "config.ini") << settings;
        auto dialog = std::make_unique<CStartDlg>(folder_.Path().string());
        dialog->OnInitDialog();
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    static QWidget* Control(const CStartDlg& dialog, const char* name) {
        return dialog.findChild<QWidget*>(QString::fromLatin1(name));
    }

    TestFolder folder_;
};

}  // namespace

TEST_F(StartDlgTest, ProgramButtonsStartTheirProgramWithoutArgumentsAndCloseTheLauncher) {
    struct Case {
        int button;
        bool installed;
    };
    const Case cases[] = {{0, true}, {1, true}, {2, true}, {3, true}, {1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(kButtons[c.button]);
        for (const char* program : kPrograms) {
            fs::remove(Client() / (std::string(program) + ".started"));
            if (c.installed) {
                WriteStandInProgram(Client() / program);
            } else {
                fs::remove(Client() / program);
            }
        }
        auto dialog = Show();
        QTest::mouseClick(Control(*dialog, kButtons[c.button]), Qt::LeftButton);

        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, kWait_ms));
        // A missing program shows no message either.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
        }
        const fs::path started = Client() / kPrograms[c.button];
        if (!c.installed) continue;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !StandInRecord(started).empty(); }, kWait_ms));
        EXPECT_EQ(StandInRecord(started), "0\n");
        for (const char* program : kPrograms) {
            if (program != kPrograms[c.button]) {
                EXPECT_EQ(StandInRecord(Client() / program), "") << program;
            }
        }
    }
}

TEST_F(StartDlgTest, EscAndEnterLeaveTheWindowOpenMinimiseKeepsItCloseEndsIt) {
    auto dialog = Show();
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    QWidget* live_view = Control(*dialog, "live_view");
    live_view->setFocus();
    for (QWidget* target : {static_cast<QWidget*>(dialog.get()), live_view}) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(target, key);
        }
    }
    EXPECT_TRUE(dialog->isVisible());

    QTest::mouseClick(Control(*dialog, "minimize"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->isMinimized(); }, kWait_ms));
    EXPECT_EQ(finished.count(), 0);

    QTest::mouseClick(Control(*dialog, "close"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(StartDlgTest, OnlyChineseSpelledExactlySelectsChineseTexts) {
    struct Case {
        const char* settings;
        const char* tooltips[4];
        const char* choice;
    };
    const char* const english[4] = {"QMX Player", "Live View", "Remote Playback", "Update Tool"};
    const Case cases[] = {
        {"[ServerInfo]\nLanguage=chinese\n",
         {"录像文件播放器", "实时预览", "远程回放", "升级工具"},
         "chinese_choice"},
        {"[ServerInfo]\nLanguage=Chinese\n", {}, "english_choice"},
        {"", {}, "english_choice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        auto dialog = Show(c.settings);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Control(*dialog, kButtons[i])->toolTip().toStdString(),
                      c.tooltips[0] ? c.tooltips[i] : english[i]);
        }
        EXPECT_TRUE(dialog->findChild<QRadioButton*>(c.choice)->isChecked());
    }
}
