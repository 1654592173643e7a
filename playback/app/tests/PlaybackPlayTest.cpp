// The playback window's play control and backup against a recorder of the emulator, driven
// through the real controls.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QRegularExpression>

extern "C" {
#include <libavutil/frame.h>
}

#include "common/picture/H264Decoder.h"
#include "common/ui/widgets/VideoGrid.h"
#include "platform/surface/VideoSurfaceView.h"
#include "playback/app/CImageSlider.h"
#include "playback/app/CRecordTimeline.h"
#include "playback/app/tests/PlaybackWindowFixture.h"
#include "tests/support/PairFrames.h"
#include "tools/recorder-emulator/ChannelPicture.h"

namespace {

namespace fs = std::filesystem;

struct Request {
    int start_s, end_s, mask, audio, fast;
    bool operator==(const Request&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Request& r) {
    return out << r.start_s << ".." << r.end_s << " mask " << r.mask << " audio " << r.audio
               << " fast " << r.fast;
}

// The channel whose colour an ARGB pixel of the display shows (BT.601 studio range).
int ChannelOfPixel(uint32_t argb) {
    int best = -1, best_distance = 0;
    for (int channel = 0; channel < 16; ++channel) {
        const YuvColour c = ChannelColour(channel);
        const int y = 298 * (c.y - 16), u = c.u - 128, v = c.v - 128;
        const int r = std::clamp((y + 409 * v + 128) >> 8, 0, 255);
        const int g = std::clamp((y - 100 * u - 208 * v + 128) >> 8, 0, 255);
        const int b = std::clamp((y + 516 * u + 128) >> 8, 0, 255);
        const int dr = r - int(argb >> 16 & 255), dg = g - int(argb >> 8 & 255),
                  db = b - int(argb & 255);
        if (best < 0 || dr * dr + dg * dg + db * db < best_distance) {
            best = channel;
            best_distance = dr * dr + dg * dg + db * db;
        }
    }
    return best;
}

// The channel whose colour a decoded picture shows in its top-right corner, or -1.
int ChannelOfPicture(const AVFrame* picture) {
    const int x = picture->width - 16, y = 16;
    const int c[3] = {picture->data[0][y * picture->linesize[0] + x],
                      picture->data[1][y / 2 * picture->linesize[1] + x / 2],
                      picture->data[2][y / 2 * picture->linesize[2] + x / 2]};
    for (int channel = 0; channel < 16; ++channel) {
        const YuvColour w = ChannelColour(channel);
        if (std::abs(c[0] - w.y) < 8 && std::abs(c[1] - w.u) < 8 && std::abs(c[2] - w.v) < 8)
            return channel;
    }
    return -1;
}

// Runs `script` once the next modal window is up (the code that opens it blocks).
template <class Script>
void WhenModal(Script script) {
    QTimer::singleShot(0, [script] {
        ASSERT_EVENTUALLY(QApplication::activeModalWidget() != nullptr);
        script(QApplication::activeModalWidget());
    });
}

class PlaybackPlayTest : public PlaybackWindowTest {
protected:
    void OpenAndLogIn(RecorderConfig config = Recorder()) {
        StartRecorder(config);
        Open();
        window_->Calendar()->setSelectedDate(QDate(2009, 8, 28));
        LogIn();
        ASSERT_EQ(LinkState(), kLinkLoggedIn);
    }
    void Click(int id) { QTest::mouseClick(window_->Button(id), Qt::LeftButton); }
    void ChooseCamera(int row, int camera) {
        window_->CameraBox(row)->setCurrentIndex(camera);
        emit window_->CameraBox(row)->activated(camera);
    }
    std::vector<Request> Requests() {
        std::vector<Request> requests;
        for (const PlayRequestRecord& r : emulator_.Journal(0).play_requests) {
            requests.push_back({r.start_s, r.end_s, int(r.channel_mask), r.audio, r.fast});
        }
        return requests;
    }
    Request Last() { return Requests().empty() ? Request{} : Requests().back(); }
    // A span of today as a plain client receives it (fast, cameras 1 and 3 with sound).
    std::vector<PairFrame> Received(QTime start, QTime end) {
        NetCtrl client;
        client.InitNetWork();
        std::array<_QRF_FILESHOWINFO, 300> page{};
        EXPECT_GE(client.ConnectToServer("127.0.0.1", emulator_.Port(0), "guest", "guest"), 0);
        EXPECT_GT(client.TimeToSearchRecList(1090728, page.data(), 0), 0);
        client.NetPlayFile(start.msecsSinceStartOfDay() / 1000, end.msecsSinceStartOfDay() / 1000,
                           0x5, 1, 1);
        std::vector<PairFrame> frames;
        std::vector<uint8_t> payload(kMaxFramePayloadBytes);
        for (;;) {
            _NET_FRAME_HEAD_ head;
            const int length = client.GetRawPicBuf(reinterpret_cast<char*>(&head),
                                                   reinterpret_cast<char*>(payload.data()));
            if (length >= 0) {
                frames.emplace_back(
                    head, std::vector<uint8_t>(payload.begin(), payload.begin() + length));
            } else if (client.IsHavePicBuf() <= 0 &&
                       client.GetMachineInfe().nLinkState != kLinkStreaming) {
                return frames;
            } else {
                client.WaitForPicBuf(10);
            }
        }
    }
    // The camera (from 1) a pane shows, 0 for none.
    int CameraIn(int pane) {
        const VideoCell cell = window_->VideoGrid()->Cells().Cell(pane);
        const QPoint at = window_->VideoGrid()->geometry().topLeft() +
                          QPoint(cell.video_x + cell.video_width - 12, cell.video_y + 12);
        uint32_t pixel = 0;
        CVideoSurfaceView::SurfaceOf(window_.get())->Read([&](const uint32_t* p, int w, int h) {
            if (at.x() < w && at.y() < h) pixel = p[at.y() * w + at.x()];
        });
        return pixel >> 24 == 0 ? 0 : ChannelOfPixel(pixel) + 1;
    }
    // A key on the play slider from position + 1: the move ends at position.
    void MoveSliderTo(int position) {
        window_->PlaySlider()->SetPos(position + 1);
        QTest::keyClick(window_->PlaySlider(), Qt::Key_Left);
        QCoreApplication::processEvents();  // the posted messages
    }
};

// What each control asks of the recorder, before, during and after a playback.
TEST_F(PlaybackPlayTest, EachControlSendsItsRequest) {
    OpenAndLogIn();
    Click(kIdSpeed);  // before any PLAY: the flag and the pair only
    EXPECT_FALSE(Shown(kIdSpeed));
    EXPECT_TRUE(Shown(kIdNormalSpeed));
    Click(kIdNormalSpeed);
    EXPECT_TRUE(Shown(kIdSpeed));
    window_->TimePicker()->setTime(QTime(6, 0, 59));  // not streaming: the slider follows
    EXPECT_EQ(window_->PlaySlider()->GetPos(), 360);
    Click(kIdAudioOn);
    EXPECT_TRUE(Shown(kIdAudioOff));
    EXPECT_FALSE(Shown(kIdAudioOn));
    EXPECT_TRUE(Requests().empty());

    window_->TimePicker()->setTime(QTime(13, 45, 30));
    Click(kIdPlay);
    EXPECT_EQ(Last(), (Request{49530, 86400, 0x1, 1, 0}));
    EXPECT_EQ(window_->Shared().play_state.load(), PlaybackShared::kPlayStateShowing);
    ASSERT_EVENTUALLY(Shown(kIdStop) && !Shown(kIdPlay));

    EXPECT_FALSE(window_->Button(kIdAudioOff)->isEnabled());  // while streaming
    MoveSliderTo(600);
    EXPECT_EQ(Last(), (Request{36000, 86400, 0x1, 1, 0}));
    // A drag shows its place in the picker and seeks where the thumb is let go.
    CImageSlider* slider = window_->PlaySlider();
    const QPoint from(slider->Track().PositionToPixel(slider->GetPos()), slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, {}, from);
    QTest::mouseMove(slider, from + QPoint(100, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(window_->Shared().slider_drag.load(), 1);
    EXPECT_EQ(window_->PickerSeconds(), window_->Timeline()->PosToSeconds(slider->GetPos()));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, from + QPoint(100, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(window_->Shared().slider_drag.load(), 0);
    EXPECT_EQ(Last().start_s, window_->Timeline()->PosToSeconds(slider->GetPos()));
    window_->TimePicker()->setTime(QTime(14, 0, 0));
    EXPECT_EQ(Last(), (Request{50400, 86400, 0x1, 1, 0}));
    const int at = window_->PickerSeconds();
    Click(kIdSpeed);
    EXPECT_EQ(Last(), (Request{at, 86400, 0x1, 1, 1}));
    QTest::keyClick(slider, Qt::Key_End);
    QCoreApplication::processEvents();
    EXPECT_EQ(Last(), (Request{86400, 86400, 0x1, 1, 1}));

    Click(kIdPlay);
    ASSERT_EVENTUALLY(Shown(kIdStop));
    Click(kIdStop);
    EXPECT_EQ(window_->Shared().play_state.load(), PlaybackShared::kPlayStateStopped);
    EXPECT_EQ(LinkState(), kLinkLoggedIn);
    const size_t sent = Requests().size();
    Click(kIdNormalSpeed);  // after STOP: nothing is sent
    EXPECT_EQ(Requests().size(), sent);

    // The hidden TIME button plays from the dialog's time; the play state stays.
    WhenModal([](QWidget* dialog) {
        dialog->findChild<QDateTimeEdit*>("time")->setTime(QTime(9, 0, 0));
        QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
    });
    window_->OnTimePlay();
    EXPECT_EQ(Last(), (Request{32400, 86400, 0x1, 1, 0}));
    EXPECT_EQ(window_->Shared().play_state.load(), PlaybackShared::kPlayStateStopped);
}

// Keys move the picker as a drag does, the slider's end showing the day's last second; End
// while streaming ends the stream and PLAY goes on from where the thumb stands.
TEST_F(PlaybackPlayTest, SliderKeysMoveThePickerAsADragDoes) {
    OpenAndLogIn();
    CImageSlider* slider = window_->PlaySlider();
    const struct {
        int from;
        Qt::Key key;
        int position;
        QTime shown;
    } cases[] = {
        {32, Qt::Key_Right, 33, QTime(0, 33, 0)},      {14, Qt::Key_Left, 13, QTime(0, 13, 0)},
        {700, Qt::Key_PageDown, 720, QTime(12, 0, 0)}, {100, Qt::Key_End, 1440, QTime(23, 59, 59)},
        {100, Qt::Key_Home, 0, QTime(0, 0, 0)},
    };
    for (const auto& c : cases) {
        slider->SetPos(c.from);
        QTest::keyClick(slider, c.key);
        QCoreApplication::processEvents();  // the posted messages
        EXPECT_EQ(slider->GetPos(), c.position) << c.key;
        EXPECT_EQ(window_->TimePicker()->time(), c.shown) << c.key;
    }
    EXPECT_TRUE(Requests().empty());

    window_->TimePicker()->setTime(QTime(13, 0, 0));
    Click(kIdPlay);
    ASSERT_EVENTUALLY(LinkState() == kLinkStreaming);
    QTest::keyClick(slider, Qt::Key_End);
    QCoreApplication::processEvents();
    EXPECT_EQ(Last(), (Request{86400, 86400, 0x1, 0, 0}));
    EXPECT_EQ(window_->TimePicker()->time(), QTime(23, 59, 59));
    ASSERT_EVENTUALLY(Shown(kIdPlay));
    Click(kIdPlay);
    EXPECT_EQ(Last(), (Request{86399, 86400, 0x1, 0, 0}));
}

// A pane whose camera or link changes shows nothing of before; STOP keeps the last picture.
TEST_F(PlaybackPlayTest, PanesClearWhenTheirCameraOrLinkChanges) {
    OpenAndLogIn();
    ChooseCamera(1, 3);
    window_->TimePicker()->setTime(QTime(13, 0, 0));
    Click(kIdPlay);
    ASSERT_EVENTUALLY(CameraIn(0) == 1 && CameraIn(1) == 3);
    Click(kIdStop);
    EXPECT_EQ(CameraIn(0), 1);
    EXPECT_EQ(CameraIn(1), 3);
    ChooseCamera(1, 2);  // row 1 now shows camera 2; row 0 keeps camera 1
    EXPECT_EQ(CameraIn(0), 1);
    EXPECT_EQ(CameraIn(1), 0);

    Click(kIdPlay);  // camera 2 recorded nothing at this hour
    ASSERT_EVENTUALLY(CameraIn(0) == 1);
    emulator_.InjectFault(0, Fault::kDropLink);
    ASSERT_EVENTUALLY(CameraIn(0) == 0 && CameraIn(1) == 0);
    EXPECT_EQ(boxes_.Texts().size(), 1);  // the lost link is reported

    LogIn();
    ASSERT_EQ(LinkState(), kLinkLoggedIn);
    window_->TimePicker()->setTime(QTime(13, 0, 0));
    Click(kIdPlay);
    ASSERT_EVENTUALLY(CameraIn(0) == 1);
    Click(kIdStop);
    Click(kIdLogout);
    EXPECT_EQ(CameraIn(0), 0);
}

// Cameras 1 and 3 land in panes 0 and 1; a fast play to the end of the recordings ends with
// PLAY shown again and the normal-speed button offered; a day picked while one streams ends it.
TEST_F(PlaybackPlayTest, CamerasShowInTheirPanesAndFastPlayEnds) {
    OpenAndLogIn();
    ChooseCamera(1, 3);
    window_->TimePicker()->setTime(QTime(13, 0, 0));
    Click(kIdPlay);
    ASSERT_EVENTUALLY(CameraIn(0) == 1 && CameraIn(1) == 3);
    EXPECT_EQ(CameraIn(2), 0);
    EXPECT_EQ(CameraIn(3), 0);

    Click(kIdStop);
    Click(kIdSpeed);
    window_->TimePicker()->setTime(QTime(17, 59, 0));
    Click(kIdPlay);
    EXPECT_EQ(Last(), (Request{64740, 86400, 0x5, 0, 1}));
    ASSERT_EVENTUALLY(LinkState() == kLinkLoggedIn && Shown(kIdPlay) && !Shown(kIdStop));
    EXPECT_TRUE(Shown(kIdNormalSpeed));
    EXPECT_EQ(window_->Shared().play_state.load(), PlaybackShared::kPlayStateShowing);

    // Another day picked while a playback streams stops it before the day is searched.
    window_->TimePicker()->setTime(QTime(13, 0, 0));
    Click(kIdPlay);
    ASSERT_EQ(LinkState(), kLinkStreaming);
    window_->Calendar()->setSelectedDate(QDate(2009, 8, 27));
    SearchEnded();
    EXPECT_EQ(LinkState(), kLinkLoggedIn);
    EXPECT_TRUE(window_->Timeline()->Slots().Marked(1, 13 * 12));  // camera 3 that day
}

// BACKUP through the dialog to a folder chosen with Browse, each way a backup can end.
TEST_F(PlaybackPlayTest, BackupsEndAsTheyShould) {
    const QString lost =
        "The network is disconnected extraordinarily or is disconnected by the server";
    struct Case {
        const char* what;
        QTime start, end;
        bool audio;
        enum { kRuns, kCancel, kFolderGone, kFault } how;
        QStringList messages;  // the boxes' texts begin so, in order
        bool pair;
        Fault fault = Fault::kStall;  // of kFault: at the start, or once the pair holds 100 frames
    } cases[] = {
        {"cameras 1 and 3 with sound", {13, 0}, {13, 10}, true, Case::kRuns, {"OK!"}, true},
        {"a span without recordings", {19, 0}, {20, 0}, true, Case::kRuns, {"OK!"}, false},
        {"cancelled while it streams", {8, 0}, {18, 0}, false, Case::kCancel, {}, true},
        {"its folder gone",
         {13, 0},
         {13, 10},
         false,
         Case::kFolderGone,
         {"Backup incomplete: cannot write to "},
         false},
        {"the end never comes",
         {13, 0},
         {13, 10},
         false,
         Case::kFault,
         {"Backup incomplete: the recorder sent nothing for 10 s. "},
         true,
         Fault::kNoPlayEnd},
        {"the link dropped",
         {8, 0},
         {18, 0},
         false,
         Case::kFault,
         {lost, "Backup incomplete: the link to the recorder was lost. "},
         true,
         Fault::kDropLink},
        {"a malformed frame",
         {8, 0},
         {18, 0},
         false,
         Case::kFault,
         {lost, "Backup incomplete: the link to the recorder was lost. "},
         true,
         Fault::kBadHeader},
    };
    RecorderConfig config = Recorder();
    config.audio_mask = 0x5;
    OpenAndLogIn(config);
    ChooseCamera(1, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (LinkState() != kLinkLoggedIn) LogIn();
        ASSERT_EQ(LinkState(), kLinkLoggedIn);
        TestFolder folder(c.what);
        const size_t boxes_before = boxes_.Texts().size();
        int most_progress = 0;
        QString speed;
        bool injected = false;
        // When "OK!" shows, the pair is whole on disk: its data file holds what its index says.
        std::optional<uint64_t> data_bytes_at_ok;
        std::optional<uint64_t> indexed_bytes_at_ok;
        // The dialog is the window's own and outlives the case; its watch must not.
        QPointer<QTimer> watch;
        const MessageBoxHandler answers = SetMessageBoxHandler({});
        SetMessageBoxHandler([&](const MessageBoxRequest& request) {
            const auto pairs = Pairs(folder.Path());
            if (request.text == "OK!" && pairs.size() == 1) {
                uint64_t indexed = 0;
                for (const auto& [head, payload] : ReadPair(pairs[0]))
                    indexed += payload.size();
                indexed_bytes_at_ok = indexed;
                data_bytes_at_ok = fs::file_size(fs::path(pairs[0]).replace_extension(".qmd"));
            }
            return answers(request);
        });
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<DlgBackup*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QDateTimeEdit*>("start")->setTime(c.start);
            dialog->findChild<QDateTimeEdit*>("end")->setTime(c.end);
            dialog->findChild<QCheckBox*>("audio")->setChecked(c.audio);
            WhenModal([&](QWidget* chooser) {
                qobject_cast<QFileDialog*>(chooser)->selectFile(
                    QString::fromStdString(folder.Path().string()));
                QMetaObject::invokeMethod(chooser, "accept");
            });
            QTest::mouseClick(dialog->findChild<QPushButton*>("browse"), Qt::LeftButton);
            if (c.fault == Fault::kNoPlayEnd) {
                // Before the span starts: it is sent whole, then nothing more comes.
                emulator_.InjectFault(0, c.fault);
                injected = true;
            }
            QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
            if (c.how == Case::kFolderGone) fs::remove_all(folder.Path());
            // Watch the bar and the rate line while the dialog runs.
            watch = new QTimer(dialog);
            QElapsedTimer running;
            running.start();
            QObject::connect(watch, &QTimer::timeout, [&, dialog, running] {
                if (running.hasExpired(60000)) {
                    ADD_FAILURE() << "the backup did not end by itself";
                    QTest::mouseClick(dialog->findChild<QPushButton*>("cancel"), Qt::LeftButton);
                    return;
                }
                most_progress =
                    std::max(most_progress, dialog->findChild<QProgressBar*>()->value());
                const QString line = dialog->findChild<QLabel*>("speed")->text();
                if (!line.isEmpty()) speed = line;
                const auto pairs = Pairs(folder.Path());
                if (pairs.size() != 1 || fs::file_size(pairs[0]) < 56 + 36 * 100) return;
                if (c.how == Case::kCancel) {
                    QTest::mouseClick(dialog->findChild<QPushButton*>("cancel"), Qt::LeftButton);
                } else if (!injected) {
                    // A pause of the recorder mid-way: the backup lasts long enough for a
                    // rate to be measured and the bar to follow the play time.
                    injected = true;
                    emulator_.InjectFault(0, c.fault, c.how == Case::kFault ? 0 : 1500);
                }
            });
            watch->start(10);
        });
        Click(kIdBackup);
        delete watch;
        SetMessageBoxHandler(answers);
        EXPECT_EQ(window_->Shared().backup_mode.load(), 0);
        EXPECT_NE(LinkState(), kLinkStreaming);
        const QStringList boxes = boxes_.Texts().mid(static_cast<int>(boxes_before));
        ASSERT_EQ(boxes.size(), c.messages.size()) << boxes.join("|").toStdString();
        for (int i = 0; i < boxes.size(); ++i) {
            EXPECT_TRUE(boxes[i].startsWith(c.messages[i])) << boxes[i].toStdString();
        }
        EXPECT_EQ(data_bytes_at_ok, indexed_bytes_at_ok);
        const auto pairs = Pairs(folder.Path());
        ASSERT_EQ(pairs.size(), c.pair ? 1u : 0u);
        if (!c.pair) continue;
        int video = 0, sound = 0;
        const std::vector<PairFrame> written = ReadPair(pairs[0]);
        for (const auto& [head, payload] : written) {
            EXPECT_TRUE(head.nChannel == 0 || head.nChannel == 2) << head.nChannel;
            (head.cType == 'V' ? video : sound) += 1;
        }
        EXPECT_GT(video, 10);
        EXPECT_EQ(sound > 0, c.audio);
        if (c.how == Case::kFault) {
            // The message counts the frames the pair holds.
            const QRegularExpressionMatch kept =
                QRegularExpression(R"((\d+) frames were kept in (.+)\.$)").match(boxes.back());
            ASSERT_TRUE(kept.hasMatch()) << boxes.back().toStdString();
            EXPECT_EQ(kept.captured(1).toULongLong(), written.size());
            EXPECT_EQ(kept.captured(2).toStdString(), folder.Path().string());
        }
        if (c.how == Case::kRuns) {
            // Frame for frame what the recorder sends of the span, and every picture decodes
            // to its camera.
            const std::vector<PairFrame> sent = Received(c.start, c.end);
            ASSERT_EQ(written.size(), sent.size());
            std::array<CH264Decoder, 16> decoders;
            for (size_t i = 0; i < written.size(); ++i) {
                _NET_FRAME_HEAD_ head = written[i].first;
                head.nOffset = sent[i].first.nOffset;
                ASSERT_EQ(std::memcmp(&head, &sent[i].first, sizeof head), 0) << i;
                ASSERT_EQ(written[i].second, sent[i].second) << i;
                if (head.cType != 'V') continue;
                CH264Decoder& decoder = decoders[head.nChannel];
                if (decoder.OpenedWidth() == 0) decoder.Open(352, 288);
                int got = 0;
                ASSERT_GE(decoder.Decode(decoder.Picture(), &got, written[i].second.data(),
                                         static_cast<int>(written[i].second.size())),
                          0);
                ASSERT_EQ(got, 1);
                EXPECT_EQ(ChannelOfPicture(decoder.Picture()), head.nChannel) << i;
            }
            EXPECT_GT(most_progress, 0);
            EXPECT_TRUE(QRegularExpression(R"(^Speed \d+KB/s Recv \d+KB$)").match(speed).hasMatch())
                << speed.toStdString();
        }
    }
}

// Without its channel-name images the program says so and ends before its window shows.
TEST(PlaybackOverlayFiles, AMissingImageEndsTheProgram) {
    TestFolder program;
    fs::create_directories(program.Path() / "config");
    fs::copy(SUITE_TREE_DIR "/ClientSoftware/config/cif_8_channel.yuv", program.Path() / "config");
    EXPECT_EXIT(
        {
            SetMessageBoxHandler([](const MessageBoxRequest& request) {
                std::fprintf(stderr, "box: %s\n", request.text.toUtf8().constData());
                return MessageBoxAnswer::kOk;
            });
            CPlaybackDlg window(program.Path().string());
        },
        ::testing::ExitedWithCode(0), "box: error: lost some file!");
}

}  // namespace
