#include "liveview/app/DlgNotice.h"

#include <QLabel>

#include "common/ui/widgets/DialogFont.h"
#include "common/ui/widgets/MakeControl.h"

namespace {

constexpr int kLineWidth_px = 139;
constexpr int kLineHeight_px = 14;

}  // namespace

DlgNotice* DlgNotice::Popup(const QString& text, const QRect& screen_rect, QWidget* owner) {
    auto* notice = new DlgNotice(text, owner);
    notice->OnInitDialog();
    notice->setGeometry(screen_rect);
    notice->show();
    return notice;
}

DlgNotice::DlgNotice(const QString& text, QWidget* owner)
    : QDialog(owner, Qt::ToolTip | Qt::FramelessWindowHint), text_(text) {
    // Disabled in the template: no focus, no clicks; the cell under it keeps the pointer.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFont(DialogFont());
    setAutoFillBackground(true);
    // Wider than the window the caller makes: a long title is cut at the window's edge.
    line_ = MakeControl<QLabel>(this, "line", {0, 0, kLineWidth_px, kLineHeight_px});
}

void DlgNotice::OnInitDialog() {
    life_timer_.setSingleShot(true);
    life_timer_.setInterval(kLife_ms);
    connect(&life_timer_, &QTimer::timeout, this, &DlgNotice::OnTimer);
    life_timer_.start();
    line_->setText(text_);
}

void DlgNotice::OnTimer() {
    done(0);
    deleteLater();
}
