#include "playback/app/DlgTimePlay.h"

#include <QDateTimeEdit>
#include <QPushButton>

#include "playback/app/DialogFace.h"
#include "playback/core/window/PlayTime.h"

DlgTimePlay::DlgTimePlay(QWidget* parent)
    : QDialog(parent),
      picker_(new QDateTimeEdit(QDateTime::currentDateTime(), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("TIME PLAY"));
    setFixedSize(kWidth_px, kHeight_px);
    setFont(DialogFace());
    picker_->setObjectName(QStringLiteral("time"));
    picker_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    picker_->setGeometry(50, 15, 100, 23);
    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setDefault(true);
    ok_->setGeometry(35, 52, 60, 22);
    cancel_->setGeometry(105, 52, 60, 22);
    connect(ok_, &QPushButton::clicked, this, &DlgTimePlay::accept);
    connect(cancel_, &QPushButton::clicked, this, &DlgTimePlay::reject);
}

void DlgTimePlay::accept() {
    const QTime time = picker_->time();
    seconds_ =
        time.isValid() ? play_time::SecondsOfDay(time.hour(), time.minute(), time.second()) : 0;
    QDialog::accept();
}
