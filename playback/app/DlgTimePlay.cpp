#include "playback/app/DlgTimePlay.h"

#include <QDateTimeEdit>
#include <QPushButton>

#include "common/ui/widgets/DialogFont.h"
#include "common/ui/widgets/MakeControl.h"
#include "playback/core/window/PlayTime.h"

DlgTimePlay::DlgTimePlay(QWidget* parent)
    : QDialog(parent),
      picker_(MakeControl<QDateTimeEdit>(this, "time", {50, 15, 100, 23})),
      ok_(MakeControl<QPushButton>(this, "ok", {35, 52, 60, 22})),
      cancel_(MakeControl<QPushButton>(this, "cancel", {105, 52, 60, 22})) {
    setWindowTitle(QStringLiteral("TIME PLAY"));
    setFixedSize(kWidth_px, kHeight_px);
    setFont(DialogFont());
    picker_->setDateTime(QDateTime::currentDateTime());
    picker_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    ok_->setText(QStringLiteral("OK"));
    ok_->setDefault(true);
    cancel_->setText(QStringLiteral("Cancel"));
    connect(ok_, &QPushButton::clicked, this, &DlgTimePlay::accept);
    connect(cancel_, &QPushButton::clicked, this, &DlgTimePlay::reject);
}

void DlgTimePlay::accept() {
    const QTime time = picker_->time();
    seconds_ =
        time.isValid() ? play_time::SecondsOfDay(time.hour(), time.minute(), time.second()) : 0;
    QDialog::accept();
}
