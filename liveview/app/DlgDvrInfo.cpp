#include "liveview/app/DlgDvrInfo.h"

#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "common/ui/widgets/MakeControl.h"
#include "liveview/app/DialogStyle.h"
#include "liveview/app/StaticLines.h"
#include "liveview/core/dialogs/DvrInfoPanel.h"
#include "liveview/manager/DvrManager.h"

namespace {

constexpr QRect kLampArea(26, 300, 150, 150);

QRect LampCircle(const LampSpec& lamp) {
    return QRect(lamp.left, lamp.top, lamp.right - lamp.left, lamp.bottom - lamp.top);
}

}  // namespace

DlgDvrInfo::DlgDvrInfo(QWidget* parent)
    : QDialog(parent),
      disk_label_(MakeStaticText(this, "disk_label", {24, 20, 40, 30})),
      disk_list_(MakeControl<QComboBox>(this, "disks", {74, 15, 70, 20})),
      disk_text_(MakeControl<StaticLines>(this, "disk_text", {34, 50, 150, 100})),
      rec_(MakeControl<QPushButton>(this, "rec", {50, 250, 80, 20})) {
    ApplyDialogStyle(this, 128, 290);
    for (std::size_t i = 0; i < kLamps.size(); ++i) {
        lamp_labels_[i] = MakeStaticText(this, QStringLiteral("lamp%1").arg(kLamps[i].label_id),
                                         {kLamps[i].label_x, kLamps[i].label_y, 50, 18});
    }
    rec_->setText(QStringLiteral("REC"));
    rec_->setAutoDefault(false);
    connect(disk_list_, &QComboBox::currentIndexChanged, this, [this] { ShowDisk(); });
    connect(rec_, &QPushButton::clicked, this, &DlgDvrInfo::OnRec);
}

int DlgDvrInfo::SetDevice(CDvrManager* manager, int device) {
    manager_ = manager;
    device_ = device;
    return 1;
}

int DlgDvrInfo::DoModal() {
    OnInitDialog();
    return exec();
}

void DlgDvrInfo::OnInitDialog() {
    led_word_ = 0;
    disks_.clear();
    disk_list_->clear();
    disk_text_->SetLines({});
    texts_.Load();
    setWindowTitle(QStringLiteral("DVR INFO"));
    disk_label_->setText(texts_.Text("Panel_Info_HardDisk"));
    for (std::size_t i = 0; i < kLamps.size(); ++i)
        lamp_labels_[i]->setText(texts_.Text(kLamps[i].label_key));
    ready_ = 1;
    rec_->setEnabled(false);
    update();
}

int DlgDvrInfo::FillDisks(int disk_count, const _DVR_DISK_INFO_* disks) {
    if (ready_ == 0) return 0;
    disks_.clear();
    const QSignalBlocker quiet(disk_list_);
    disk_list_->clear();
    for (int i = 0; i < ListedDiskCount(disk_count); ++i) {
        disks_.push_back(disks[i]);
        disk_list_->addItem(QString::fromStdString(DiskEntryText(i)));
    }
    if (!disks_.empty()) disk_list_->setCurrentIndex(0);
    return 1;
}

int DlgDvrInfo::ShowDisk() {
    if (ready_ == 0) return 0;
    const int selected = disk_list_->currentIndex();
    if (selected >= 0 && selected < static_cast<int>(disks_.size())) {
        QStringList lines;
        for (const std::string& line :
             DiskLines(texts_.Table(), disks_[static_cast<std::size_t>(selected)]))
            lines << QString::fromStdString(line);
        disk_text_->SetLines(lines);
    }
    return 1;
}

int DlgDvrInfo::SetLedWord(int32_t low, int32_t high) {
    if (ready_ == 0) return 0;
    led_word_ = LedWordOf(low, high);
    update(kLampArea);
    switch (RecButtonFor(led_word_, disk_list_->count() > 0)) {
        case RecButtonChange::kDisable:
            rec_->setEnabled(false);
            break;
        case RecButtonChange::kEnable:
            rec_->setEnabled(true);
            break;
        case RecButtonChange::kKeep:
            break;
    }
    return 1;
}

void DlgDvrInfo::UpdateFromDevice() {
    if (manager_ == nullptr) return;
    if (manager_->RequestDiskInfo(device_) < 0 || manager_->RequestLedInfo(device_) < 0) return;
    const _DVR_MACHINE_INFO_ info = manager_->GetMachineInfo(device_);
    FillDisks(info.nDiskCount, info.disk);
    ShowDisk();
    SetLedWord(info.nLedLow, info.nLedHigh);
}

void DlgDvrInfo::OnRec() {
    if (manager_ == nullptr) return;
    manager_->SendEscKey(device_);
    Pause(1000);
    manager_->SendEscKey(device_);
    Pause(1000);
    manager_->SendRecKey(device_);
    Pause(300);
    UpdateFromDevice();
}

void DlgDvrInfo::reject() {
    ready_ = 0;
    QDialog::reject();
}

void DlgDvrInfo::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(QColor(190, 190, 190), 3));
    for (const LampSpec& lamp : kLamps)
        painter.drawEllipse(LampCircle(lamp));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(255, 0, 0));
    for (const LampSpec& lamp : kLamps) {
        if (IsLampLit(led_word_, lamp.bit)) painter.drawEllipse(LampCircle(lamp));
    }
}

void DlgDvrInfo::Pause(int duration_ms) {
    QEventLoop wait;
    QTimer::singleShot(duration_ms, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}
