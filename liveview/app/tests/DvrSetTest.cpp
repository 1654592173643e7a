#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstring>
#include <functional>

#include "liveview/app/DlgDvrSet.h"
#include "liveview/app/DvrSetFlow.h"
#include "liveview/app/tests/ModalAct.h"
#include "liveview/app/tests/RecorderFixture.h"
#include "liveview/core/store/UserStore.h"
#include "tests/support/MessageBoxAnswers.h"

namespace {

bool SameRecord(const NET_MAC_SET_PARA& a, const NET_MAC_SET_PARA& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class DvrSetTest : public RecorderFixture {
protected:
    void SetUp() override {
        RecorderFixture::SetUp();
        RecorderConfig series7 = Recorder();
        series7.type_code = 7004;
        RecorderConfig many = Recorder();
        many.type_code = 1032;  // more cameras than the parameter record holds
        StartRecorders({Recorder(), series7, many});
        factory_ = emulator_.Para(0);
    }

    // SET on a device: `edit` runs in the open dialog, then Confirm (or Cancel) is pressed.
    bool Set(int device, const std::function<void()>& edit, bool confirm = true) {
        ModalAct<DlgDvrSet> act([&](DlgDvrSet&) {
            edit();
            Click(confirm ? "ok" : "cancel");
        });
        const bool confirmed = RunDvrSet(*manager_, dialog_, device);
        EXPECT_TRUE(act.Ran());
        return confirmed;
    }

    template <class Widget = QComboBox>
    Widget* Control(const char* name) {
        return dialog_.findChild<Widget*>(name);
    }
    void Page(int page) { Control<QTabWidget>("tab")->setCurrentIndex(page); }
    void Choose(const char* combo, int position) { Control(combo)->setCurrentIndex(position); }
    void Click(const char* button) {
        QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton);
    }
    QStringList Items(const char* combo) {
        QStringList items;
        for (int i = 0; i < Control(combo)->count(); ++i)
            items << Control(combo)->itemText(i);
        return items;
    }

    MessageBoxAnswers boxes_;
    DlgDvrSet dialog_;
    NET_MAC_SET_PARA factory_{};
};

}  // namespace

TEST_F(DvrSetTest, ABrightnessOfCameraThreeReachesTheRecorder) {
    Connect(0);
    ASSERT_TRUE(Set(0, [&] {
        Page(3);
        Choose("picture0", 2);  // CH03
        EXPECT_EQ(Control("picture1")->currentText(), "00");
        Choose("picture1", 77);
        EXPECT_EQ(Control("picture1")->currentText(), "27");
    }));
    const NET_MAC_SET_PARA sent = emulator_.Para(0);
    EXPECT_EQ(emulator_.Journal(0).para_sets, 1);
    EXPECT_EQ(sent.brightness[2], 77);
    NET_MAC_SET_PARA expected = factory_;
    expected.brightness[2] = 77;
    EXPECT_TRUE(SameRecord(sent, expected));
}

TEST_F(DvrSetTest, OnlyAChangeConfirmedIsSentAndSwitchingTheCameraCounts) {
    Connect(0);
    struct Case {
        const char* what;
        std::function<void()> edit;
        bool confirm;
        int sent;
    };
    const Case cases[] = {
        {"nothing touched", [] {}, true, 0},
        {"a change cancelled",
         [this] {
             Page(2);
             Choose("ptz1", 0);
         },
         false, 0},
        {"only the camera switched",
         [this] {
             Page(2);
             Choose("ptz0", 1);
             EXPECT_EQ(Control("ptz1")->currentText(), "9600");
         },
         true, 1},
        {"the camera of the recording page switched",
         [this] {
             Page(4);
             Choose("encode0", 3);
         },
         true, 2},
    };
    for (const Case& c : cases) {
        Set(0, c.edit, c.confirm);
        EXPECT_EQ(emulator_.Journal(0).para_sets, c.sent) << c.what;
        EXPECT_TRUE(SameRecord(emulator_.Para(0), factory_)) << c.what;
    }
}

TEST_F(DvrSetTest, ANewResolutionIsSentOnlyWhenTheRestartIsAccepted) {
    Connect(0);
    for (MessageBoxAnswer answer : {MessageBoxAnswer::kNo, MessageBoxAnswer::kYes}) {
        boxes_.Answer(answer);
        if (answer == MessageBoxAnswer::kNo) boxes_.Answer(answer);  // asked twice
        Set(0, [&] {
            Page(4);
            EXPECT_EQ(Control("encode1")->currentText(), "CIF");
            Choose("encode1", 1);  // D1
            Choose("encode3", 0);  // the question again after No, not after Yes
        });
        const bool yes = answer == MessageBoxAnswer::kYes;
        EXPECT_EQ(emulator_.Para(0).resolution, yes ? 2 : 1);
        EXPECT_EQ(emulator_.Para(0).encodeFps[0], 0);
    }
    ASSERT_EQ(boxes_.Requests().size(), 3u);
    const MessageBoxRequest& question = boxes_.Requests().front();
    EXPECT_EQ(question.text, "if change the data,DVR will restart!");
    EXPECT_EQ(question.caption, "INFOMATION");
    EXPECT_EQ(question.buttons, MessageBoxButtons::kYesNo);
    EXPECT_EQ(question.icon, MessageBoxIcon::kInformation);
}

TEST_F(DvrSetTest, SeriesSevenListsQualityAndResolutionItsOwnWay) {
    const int devices[] = {Connect(0), Connect(1)};
    struct Case {
        int device;
        QStringList qualities;
    };
    const Case cases[] = {{devices[0], {"high", "middle", "low"}},
                          {devices[1], {"low", "middle", "high"}}};
    for (const Case& c : cases) {
        Set(c.device, [&] {
            Page(4);
            EXPECT_EQ(Items("encode2"), c.qualities);
            EXPECT_EQ(Control("encode2")->currentText(), "high");  // each recorder's factory
            EXPECT_EQ(Items("encode1"), QStringList({"CIF", "D1"}));
            EXPECT_EQ(Control("encode1")->currentText(), "CIF");
            EXPECT_EQ(Items("encode3"), QStringList({"lowest", "low", "middle", "high"}));
        });
    }
}

TEST_F(DvrSetTest, CameraListsStopAtTheSixteenCamerasOfTheRecord) {
    Set(Connect(2), [&] {
        for (const char* camera : {"ptz0", "picture0", "encode0"}) {
            EXPECT_EQ(Control(camera)->count(), 16) << camera;
            EXPECT_EQ(Control(camera)->itemText(15), "CH16");
        }
    });
}

TEST_F(DvrSetTest, WithoutTheSuperUserThePagesStayEmptyAndNothingIsSent) {
    Connect(0, "guest");
    ASSERT_TRUE(Set(0, [&] {
        for (const char* combo : {"ptz0", "ptz1", "picture1", "encode2"})
            EXPECT_EQ(Control(combo)->count(), 0) << combo;
        Control<QLineEdit>("show_name")->setText("Gate");
    }));
    EXPECT_EQ(emulator_.Journal(0).para_sets, 0);
    _DVR_SETTINGS_ settings;
    manager_->GetDvr(0, settings);
    EXPECT_EQ(settings.show_name, "Gate");
}

TEST_F(DvrSetTest, TheDevicesOwnSettingsGoBackOnConfirm) {
    ASSERT_EQ(manager_->AddDvr("10.0.0.9:6802", "6802", "ADMIN", "pw", "Yard"), 1);
    dialog_.SetFolderChooser([&](QWidget*, std::string& path, const std::string& title) {
        EXPECT_EQ(title, "Select directory");
        path = RecordFolder();
        return 1;
    });
    ASSERT_TRUE(Set(0, [&] {
        Control<QLineEdit>("show_name")->clear();
        Click("ok");  // refused: the dialog stays
        EXPECT_TRUE(dialog_.isVisible());
        Control<QLineEdit>("show_name")->setText("Back yard");
        Page(1);
        Control<QCheckBox>("channel2")->click();
        Control<QCheckBox>("auto_connect")->click();
        Choose("live_frame_rate", 0);
        Click("browse");
        EXPECT_EQ(Control<QLineEdit>("directory")->text().toStdString(), RecordFolder());
    }));
    EXPECT_EQ(boxes_.Texts(), QStringList({"The user and the password can not be empty space"}));
    _DVR_SETTINGS_ settings;
    manager_->GetDvr(0, settings);
    EXPECT_EQ(settings.show_name, "Back yard");
    EXPECT_EQ(settings.channel_mask, 0xfffd);
    EXPECT_EQ(settings.auto_connect, 1);
    EXPECT_EQ(settings.frame_rate_index, 0);
    EXPECT_EQ(settings.quality_index, 2);
    EXPECT_EQ(manager_->GetSavePath(), RecordFolder());

    // A folder the device store can not hold is refused where it is chosen.
    dialog_.SetFolderChooser([](QWidget*, std::string& path, const std::string&) {
        path = "/" + std::string(258, 'd');
        return 1;
    });
    Set(0, [&] {
        Page(1);
        Click("browse");
        EXPECT_EQ(Control<QLineEdit>("directory")->text().toStdString(), RecordFolder());
    });
    EXPECT_TRUE(boxes_.Texts().last().startsWith("The save directory is too long"));
}

TEST_F(DvrSetTest, TheAllBoxFlipsOneToggleForTheWholeRun) {
    ASSERT_EQ(manager_->AddDvr("10.0.0.9:6802", "6802", "ADMIN", "pw", "Yard"), 1);
    _DVR_SETTINGS_ settings;
    manager_->GetDvr(0, settings);
    const int32_t mask = settings.channel_mask;
    // Each opening's first click of "all" flips the toggle the last one left.
    std::vector<int32_t> masks;
    for (int opening = 0; opening < 2; ++opening) {
        Set(0, [&] {
            Page(1);
            Control<QCheckBox>("all")->click();
        });
        manager_->GetDvr(0, settings);
        masks.push_back(settings.channel_mask);
    }
    EXPECT_NE(masks[0], masks[1]);
    EXPECT_TRUE((masks[0] == 0xffff && masks[1] == 0) || (masks[0] == 0 && masks[1] == 0xffff))
        << mask;
}

// The live view never places a map point: a device keeps the points it was read with through
// settings changes, the deletion of an earlier device and the store's next save.
TEST_F(DvrSetTest, MapPointsSurviveSettingsDeleteAndTheStore) {
    UserStoreContent content;
    for (int n = 0; n < 3; ++n) {
        _DVR_ENTRY_ entry;
        entry.settings.address = "10.0.0." + std::to_string(n) + ":6802";
        entry.settings.port_text = "6802";
        entry.settings.user = "ADMIN";
        entry.settings.password = "pw";
        entry.settings.show_name = "dvr" + std::to_string(n);
        entry.settings.in_use = 1;
        for (int c = 0; c < 16; ++c)
            entry.map_points[c] = {1, 1, n, c, 0, 0, 10 * c + n, 20 * c};
        content.devices.AddDvrEntry(entry);
    }
    CUserStore store(StorePath());
    ASSERT_EQ(store.Save(content), 1);
    ASSERT_EQ(manager_->LoadUserStore(), 1);

    ASSERT_TRUE(Set(2, [&] { Control<QLineEdit>("show_name")->setText("renamed"); }));
    ASSERT_EQ(manager_->DeleteDvr(0), 1);
    ASSERT_EQ(manager_->AddDvr("10.0.0.7:6802", "6802", "ADMIN", "pw", "new"), 1);
    manager_->Shutdown();

    UserStoreContent saved;
    ASSERT_TRUE(IsLoaded(store.Load(saved)));
    ASSERT_EQ(saved.devices.GetDvrCount(), 3);
    EXPECT_EQ(saved.devices.Entry(0).map_points, content.devices.Entry(1).map_points);
    EXPECT_EQ(saved.devices.Entry(1).map_points, content.devices.Entry(2).map_points);
    EXPECT_EQ(saved.devices.Entry(1).settings.show_name, "renamed");
    EXPECT_EQ(saved.devices.Entry(2).map_points[5], _MAP_POINT_{});
}
