// Log-in, log-out and the record search of the playback window.
#include <QCalendarWidget>
#include <QComboBox>
#include <QFontMetrics>

#include "common/ui/widgets/SegmentLabel.h"
#include "playback/app/CPlaybackDlg.h"
#include "playback/app/CRecordTimeline.h"
#include "playback/core/search/RecordTexts.h"
#include "playback/core/search/SearchRows.h"

void CPlaybackDlg::OnLogin() {
    login_dialog_.SetNetCtrl(&connection_);
    if (login_dialog_.DoModal() != QDialog::Accepted) return;
    // Pictures of the recorder before are no pictures of this one.
    EraseVideoWindow();
    ShowDiskInfo();
    SearchRecords();
}

void CPlaybackDlg::OnLogout() {
    search_.Cancel();
    search_number_ = 0;
    link_watch_.Disarm();
    connection_.DisConnect();
    timeline_->Clear();
    EraseVideoWindow();
}

int CPlaybackDlg::ShowDiskInfo() {
    if (connection_.GetMachineInfe().nLinkState != kLinkLoggedIn) return 1;
    link_watch_.Arm();
    connection_.GetMachineDiskInfo();
    host_label_->SetText(login_dialog_.Host());

    const _DVR_MACHINE_INFO_ info = connection_.GetMachineInfe();
    ShowRecordRange(RecordRangeText(info, date_style_));

    const int cameras = ChannelCountOf(info.nTypeCode);
    for (QComboBox* box : camera_boxes_) {
        box->clear();
        box->addItem(QStringLiteral("none"));
        for (int n = 1; n <= cameras; ++n)
            box->addItem(QStringLiteral("%1").arg(n, 2, 10, QChar('0')));
    }
    FitCameraLists();
    camera_boxes_[0]->setCurrentIndex(1);
    for (int row = 1; row < 4; ++row)
        camera_boxes_[row]->setCurrentIndex(0);
    return 1;
}

void CPlaybackDlg::ShowRecordRange(const std::string& range) {
    // Both dates with their times are wider than the label in characters 6 pixels wide:
    // narrower ones keep all of it on the label's one line.
    const QString text = QString::fromStdString(range);
    for (int char_width_px = kRangeCharWidth_px; char_width_px > 0; --char_width_px) {
        range_label_->SetFont(char_width_px, kRangeCharHeight_px, 0xFFFFFF, 0x87652F,
                              kRangeWidth_chars);
        // The text starts one pixel in.
        if (QFontMetrics(range_label_->SegmentFont()).horizontalAdvance(text) <
            range_label_->width()) {
            break;
        }
    }
    range_label_->SetText(range);
}

int CPlaybackDlg::SearchRecords() {
    timeline_->Clear();
    std::array<int, SearchRows::kRows> selections{};
    for (int row = 0; row < SearchRows::kRows; ++row) {
        selections[row] = camera_boxes_[row]->currentIndex();
    }
    const SearchRows rows = MakeSearchRows(selections);
    for (int row = 0; row < SearchRows::kRows; ++row) {
        shared_.row_channels[row].store(rows.channels[row], std::memory_order_relaxed);
        camera_boxes_[row]->setCurrentIndex(rows.channels[row]);
    }
    shared_.channel_mask.store(rows.channel_mask, std::memory_order_relaxed);

    const int link_state = connection_.GetMachineInfe().nLinkState;
    if (link_state == kLinkIdle) {
        search_.Cancel();
        search_number_ = 0;
        return -1;
    }
    timeline_->SetRowLabels(rows.labels);

    const QDate date = calendar_->selectedDate();
    search_mday_ = date.day();
    search_number_ = search_.Start(
        {MakeDayKey(date.year(), date.month(), date.day()), rows, link_state == kLinkStreaming});
    return 1;
}

void CPlaybackDlg::OnSearchPage(std::uint64_t search, const PageMarks& marks) {
    if (search != search_number_) return;  // a search replaced or ended since
    ApplyMarks(marks, search_mday_, timeline_->Slots());
    timeline_->update();
}

void CPlaybackDlg::OnSearchEnd(std::uint64_t search) {
    if (search == search_number_) search_number_ = 0;
}

void CPlaybackDlg::OnDateChange() {
    const QDate date = calendar_->selectedDate();
    const std::array<int, 3> picked{date.year(), date.month(), date.day()};
    if (picked == searched_date_) return;
    searched_date_ = picked;
    // A backup in progress keeps the day it was started on.
    if (shared_.backup_mode.load(std::memory_order_relaxed) == 1) return;
    SearchRecords();
}

void CPlaybackDlg::OnChannelChange() {
    std::array<int, SearchRows::kRows> before{};
    for (int row = 0; row < SearchRows::kRows; ++row) {
        before[row] = shared_.row_channels[row].load(std::memory_order_relaxed);
    }
    SearchRecords();
    // A pane shows its row's camera: one whose camera changed shows nothing until the next
    // playback, rather than the old camera's picture under the new camera's row.
    for (int row = 0; row < SearchRows::kRows; ++row) {
        if (shared_.row_channels[row].load(std::memory_order_relaxed) != before[row]) {
            ClearPane(row);
        }
    }
}
