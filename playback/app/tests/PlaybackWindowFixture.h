#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>

#include "common/ui/widgets/SkinButton.h"
#include "playback/app/CPlaybackDlg.h"
#include "playback/core/window/PlaybackLayout.h"
#include "tests/support/MessageBoxAnswers.h"
#include "tests/support/QtWaits.h"
#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

// The playback window over a program folder of its own (the installed skins, thumbs and
// language files, a fresh settings file) with a recorder of the emulator on loopback.
class PlaybackWindowTest : public ::testing::Test {
protected:
    static constexpr int64_t kFirstDay = 14482;  // 26 August 2009
    static constexpr int64_t kDay = 14484;       // 28 August 2009

    PlaybackWindowTest() {
        namespace fs = std::filesystem;
        const fs::path tree = SUITE_TREE_DIR "/ClientSoftware";
        for (const char* folder : {"skin3", "res", "language"}) {
            fs::create_directory_symlink(tree / folder, program_.Path() / folder);
        }
        fs::create_directories(program_.Path() / "config");
        for (const char* overlay : {"channel.yuv", "cif_8_channel.yuv"}) {
            fs::create_symlink(tree / "config" / overlay, program_.Path() / "config" / overlay);
        }
    }
    ~PlaybackWindowTest() override {
        window_.reset();
        emulator_.Stop();
    }

    // Cameras 1 to 4 of a recorder that recorded 26 to 28 August 2009.
    static RecorderConfig Recorder() {
        RecorderConfig config = DefaultRecorderConfig(4, kDay);
        config.loop_frames = 5;
        config.day_schedule = {{8 * 3600, 12 * 3600, 0x1},
                               {10 * 3600, 10 * 3600 + 1800, 0x2},
                               {13 * 3600, 18 * 3600, 0x5}};
        config.first_record_day = kFirstDay;
        config.last_record_day = kDay;
        return config;
    }

    void StartRecorder(RecorderConfig config = Recorder()) {
        std::string error;
        ASSERT_TRUE(emulator_.Start({config}, sandbox_.Path(), &error)) << error;
    }

    void Open(const std::string& language = "english") {
        std::ofstream(program_.Path() / "config" / "config.ini")
            << "[ServerInfo]\nLanguage=" << language << "\n";
        window_ = std::make_unique<CPlaybackDlg>(program_.Path().string());
        ASSERT_TRUE(window_->OnInitDialog());
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    // LOGIN, the dialog filled in and confirmed; a refused log-in is cancelled.
    void LogIn(const std::string& user = "admin", const std::string& password = "admin") {
        const std::string server = "127.0.0.1:" + std::to_string(emulator_.Port(0));
        QTimer::singleShot(0, window_.get(), [this, server, user, password] {
            DlgPlaybackLogin& dialog = window_->LoginDialog();
            dialog.ServerBox()->setEditText(QString::fromStdString(server));
            dialog.UserEdit()->setText(QString::fromStdString(user));
            dialog.PasswordEdit()->setText(QString::fromStdString(password));
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
            if (dialog.isVisible()) dialog.reject();
        });
        QTest::mouseClick(window_->Button(kIdLogin), Qt::LeftButton);
        SearchEnded();
    }
    // The search the log-in or a choice started has asked for all its pages and marked them.
    void SearchEnded() { ASSERT_EVENTUALLY(!window_->Searching()); }

    bool Shown(int id) const { return window_->Button(id)->isVisible(); }
    int LinkState() { return window_->Connection().GetMachineInfe().nLinkState; }

    TestFolder program_{"program"};
    TestFolder sandbox_{"sandbox"};
    MessageBoxAnswers boxes_;
    RecorderEmulator emulator_;
    std::unique_ptr<CPlaybackDlg> window_;
};
