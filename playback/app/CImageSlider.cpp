#include "playback/app/CImageSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <optional>

#include "common/ui/widgets/ColorRef.h"
#include "playback/app/ResourceImage.h"

CImageSlider::CImageSlider(int control_id, std::string program_folder, QWidget* parent)
    : QWidget(parent), control_id_(control_id), program_folder_(std::move(program_folder)) {
    setFocusPolicy(Qt::StrongFocus);
    track_.SetChannelWidth(width());
}

void CImageSlider::SetMinimum(int minimum, bool redraw) {
    track_.SetMinimum(minimum);
    if (redraw) update();
}

void CImageSlider::SetMaximum(int maximum, bool redraw) {
    track_.SetMaximum(maximum);
    if (redraw) update();
}

void CImageSlider::SetRange(int minimum, int maximum, bool redraw) {
    SetMinimum(minimum, false);
    SetMaximum(maximum, redraw);
}

void CImageSlider::SetPos(int position) {
    track_.SetPos(position);
    update();
}

void CImageSlider::SetFocusRectOption(bool draw, bool redraw) {
    draw_focus_rect_ = draw;
    if (redraw) update();
}

int CImageSlider::SetBitmaps(int thumb_id, int pressed_id, bool transparent, std::uint32_t colour,
                             int x, int y) {
    if (thumb_id == 0) {
        thumb_ = QImage();
        pressed_thumb_ = QImage();
        track_.SetThumbWidth(0);
        update();
        return 1;
    }
    const QImage thumb = LoadBitmapResource(program_folder_, thumb_id);
    if (thumb.isNull()) return 0;
    QImage pressed;
    if (pressed_id != 0) {
        pressed = LoadBitmapResource(program_folder_, pressed_id);
        if (pressed.isNull()) return 0;
    }
    thumb_ = MaskedThumb(thumb, transparent, colour, x, y);
    pressed_thumb_ = pressed.isNull() ? QImage() : MaskedThumb(pressed, transparent, colour, x, y);
    track_.SetThumbWidth(thumb_.width());
    track_.SetChannelWidth(width());
    update();
    return 1;
}

QImage CImageSlider::MaskedThumb(const QImage& bitmap, bool transparent, std::uint32_t colour,
                                 int x, int y) {
    QImage image = bitmap.convertToFormat(QImage::Format_ARGB32);
    if (!transparent) return image;
    const QRgb key =
        colour == kColourOfPixel ? image.pixel(x, y) | 0xFF000000u : ColorFromRef(colour).rgb();
    for (int row = 0; row < image.height(); ++row) {
        auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < image.width(); ++column) {
            if (pixels[column] == key) pixels[column] = 0;
        }
    }
    return image;
}

void CImageSlider::paintEvent(QPaintEvent*) {
    // Drawn off-screen first and copied in one go, so the thumb never flickers.
    QPixmap offscreen(size());
    offscreen.fill(Qt::transparent);
    {
        QPainter painter(&offscreen);
        const QImage& thumb =
            track_.Dragging() && !pressed_thumb_.isNull() ? pressed_thumb_ : thumb_;
        if (!thumb.isNull() && isEnabled()) painter.drawImage(track_.ThumbLeft(), 0, thumb);
        if (draw_focus_rect_ && hasFocus() && isEnabled()) {
            painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    QPainter(this).drawPixmap(0, 0, offscreen);
}

void CImageSlider::SetMessageTarget(std::shared_ptr<CWindowGate> gate, MessageHandler handler) {
    gate_ = std::move(gate);
    handler_ = std::move(handler);
}

void CImageSlider::Post(const std::optional<SliderPost>& post) {
    if (!post || !gate_) return;
    gate_->Post([handler = handler_, message = post->message, id = control_id_,
                 position = post->position] { handler(message, id, position); });
}

void CImageSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    Post(track_.LButtonDown(event->position().toPoint().x()));
    update();
}

void CImageSlider::mouseMoveEvent(QMouseEvent* event) {
    const std::optional<SliderPost> post = track_.MouseMove(event->position().toPoint().x());
    if (post) update();
    Post(post);
}

void CImageSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    Post(track_.LButtonUp());
    update();
}

void CImageSlider::keyPressEvent(QKeyEvent* event) {
    std::optional<SliderKey> key;
    switch (event->key()) {
        case Qt::Key_PageUp:
            key = SliderKey::kPageUp;
            break;
        case Qt::Key_PageDown:
            key = SliderKey::kPageDown;
            break;
        case Qt::Key_End:
            key = SliderKey::kEnd;
            break;
        case Qt::Key_Home:
            key = SliderKey::kHome;
            break;
        case Qt::Key_Left:
            key = SliderKey::kLeft;
            break;
        case Qt::Key_Up:
            key = SliderKey::kUp;
            break;
        case Qt::Key_Right:
            key = SliderKey::kRight;
            break;
        case Qt::Key_Down:
            key = SliderKey::kDown;
            break;
        default:
            break;
    }
    if (key) {
        Post(track_.KeyDown(*key));
        update();
    }
    // The slider wants every key but Tab: Enter and Esc on it never reach the window.
    event->accept();
}

void CImageSlider::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CImageSlider::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void CImageSlider::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        track_.SetEnabled(isEnabled());
        update();
    }
    QWidget::changeEvent(event);
}

void CImageSlider::resizeEvent(QResizeEvent* event) {
    track_.SetChannelWidth(width());
    QWidget::resizeEvent(event);
}
