#pragma once

// The main window offscreen over a device manager of its own, with a device store in a folder
// of the test's and recorders of the emulator on loopback.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <memory>
#include <string>
#include <vector>

#include "liveview/app/CLiveViewDlg.h"
#include "liveview/core/store/UserStore.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/manager/DvrManager.h"
#include "platform/waveout/ManualClockWaveOut.h"
#include "tests/support/MessageBoxAnswers.h"
#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

inline const std::string kInstalledFolder = SUITE_TREE_DIR "/ClientSoftware";
constexpr int kWait_ms = 20000;

struct Device {
    std::string address;
    std::string user = "admin";
    std::string password = "admin";
    std::string name;
    int auto_connect = 0;
    int send_audio = 0;
    std::string port_text{};
};

inline RecorderConfig Recorder(int channels = 4) {
    RecorderConfig config = DefaultRecorderConfig(channels, DayNumberOf({2026, 12, 9}));
    config.loop_frames = 8;
    return config;
}

class LiveViewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        options_.net_timeouts.connect_ms = 2000;
        options_.net_timeouts.exchange_ms = 2000;
        options_.net_timeouts.logout_ms = 200;
        options_.lookup_timeouts = {2000, 2000, 2000};
    }

    void TearDown() override {
        window_.reset();
        manager_.reset();
        emulator_.Stop();
    }

    void StartRecorders(const std::vector<RecorderConfig>& configs) {
        std::string error;
        ASSERT_TRUE(emulator_.Start(configs, folder_.Path() / "sandbox", &error)) << error;
    }

    std::string AddressOf(size_t recorder) const {
        return "127.0.0.1:" + std::to_string(emulator_.Port(recorder));
    }

    std::string StorePath() const { return (folder_.Path() / "uss.dat").string(); }

    void WriteStore(const std::vector<Device>& devices, int password_on = 0) {
        UserStoreContent content;
        content.password_on = password_on;
        for (const Device& d : devices) {
            ASSERT_EQ(content.devices.AddDvr(d.address, d.port_text, d.user, d.password, d.name),
                      1);
            _DVR_SETTINGS_ settings;
            content.devices.GetDvr(content.devices.GetDvrCount() - 1, settings);
            settings.auto_connect = d.auto_connect;
            settings.send_audio = d.send_audio;
            content.devices.UpdateDvr(content.devices.GetDvrCount() - 1, settings);
        }
        ASSERT_EQ(CUserStore(StorePath()).Save(content), 1);
    }

    UserStoreContent ReadStore() {
        UserStoreContent content;
        EXPECT_TRUE(IsLoaded(CUserStore(StorePath()).Load(content)));
        return content;
    }

    void Open(const std::string& program_folder = kInstalledFolder) {
        manager_ = std::make_unique<CDvrManager>(audio_, StorePath(), options_);
        window_ = std::make_unique<CLiveViewDlg>(*manager_, program_folder);
        ASSERT_TRUE(window_->OnInitDialog());
        if (window_->Closed()) return;
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    QAbstractButton* Button(int id) const {
        return qobject_cast<QAbstractButton*>(window_->Control(id));
    }
    // A click where the operator would: the middle of the round face.
    void Click(int id) const {
        QAbstractButton* button = Button(id);
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << id;
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    QTreeWidgetItem* Item(int i) const { return window_->Tree()->topLevelItem(0)->child(i); }
    int ItemCount() const { return window_->Tree()->topLevelItem(0)->childCount(); }
    int ItemImage(int i) const { return Item(i)->data(0, Qt::UserRole).toInt(); }
    std::string ItemText(int i) const { return Item(i)->text(0).toStdString(); }
    void Select(int i) const { window_->Tree()->setCurrentItem(Item(i)); }
    int LinkState(int a) const { return manager_->GetMachineInfo(a).nLinkState; }
    bool Connecting(int a) const {
        return window_->Timers().IsActive(live_view_timer::kWatchBase + a);
    }

    TestFolder folder_;
    DvrManagerOptions options_;
    ManualClockWaveOut audio_;
    RecorderEmulator emulator_;
    MessageBoxAnswers boxes_;
    std::unique_ptr<CDvrManager> manager_;
    std::unique_ptr<CLiveViewDlg> window_;
};
