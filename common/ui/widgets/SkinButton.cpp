#include "common/ui/widgets/SkinButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

namespace {

// The greys the art uses for 3-D edges and faces take the desktop's own colours.
void MapThreeDColours(QImage& image, const QPalette& palette) {
    const QRgb shadow = palette.color(QPalette::Dark).rgb();
    const QRgb face = palette.color(QPalette::Button).rgb();
    const QRgb light = palette.color(QPalette::Midlight).rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            switch (row[x] & 0xFFFFFF) {
                case 0x808080:
                    row[x] = shadow;
                    break;
                case 0xC0C0C0:
                    row[x] = face;
                    break;
                case 0xDFDFDF:
                    row[x] = light;
                    break;
                default:
                    break;
            }
        }
    }
}

}  // namespace

CSkinButton::CSkinButton(QWidget* parent) : QPushButton(parent) {
    setMouseTracking(true);
    hover_timer_.setSingleShot(true);
    connect(&hover_timer_, &QTimer::timeout, this, &CSkinButton::OnMouseHover);
}

int CSkinButton::SetImages(const std::string& normal, const std::string& pressed,
                           const std::string& disabled, const std::string& hover) {
    normal_ = normal;
    pressed_ = pressed;
    disabled_ = disabled;
    hover_image_ = hover;
    return 0;
}

void CSkinButton::SetToolTipText(const char* text, int activate) {
    if (!text) return;
    setToolTip(activate ? QString::fromUtf8(text) : QString());
}

void CSkinButton::PreSubclassWindow() { setMask(QRegion(rect(), QRegion::Ellipse)); }

void CSkinButton::SetImageAlignment(Qt::Alignment alignment) {
    align_x_ = alignment & Qt::AlignLeft    ? SkinAlign::kStart
               : alignment & Qt::AlignRight ? SkinAlign::kEnd
                                            : SkinAlign::kCenter;
    align_y_ = alignment & Qt::AlignTop      ? SkinAlign::kStart
               : alignment & Qt::AlignBottom ? SkinAlign::kEnd
                                             : SkinAlign::kCenter;
}

const std::string& CSkinButton::StateImage() const {
    if (isDown()) return pressed_;
    if (!isEnabled()) return disabled_;
    if (hover_) return hover_image_;
    return normal_;
}

void CSkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawItem(painter);
}

void CSkinButton::DrawItem(QPainter& painter) {
    QImage image(QString::fromStdString(StateImage()), "BMP");
    // A state without its own art keeps the normal face rather than changing style.
    if (image.isNull()) image = QImage(QString::fromStdString(normal_), "BMP");
    if (image.isNull()) {
        DrawFallback(painter);
        return;
    }
    image = image.convertToFormat(QImage::Format_RGB32);
    MapThreeDColours(image, palette());
    const int face_width = width() - 4 * kBorder_px;
    const int face_height = height() - 4 * kBorder_px;
    const int sx = SkinImageOffset(align_x_, face_width, image.width(), kBorder_px);
    const int sy = SkinImageOffset(align_y_, face_height, image.height(), kBorder_px);
    painter.drawImage(QPoint(0, 0), image, QRect(sx, sy, image.width(), image.height()));
}

void CSkinButton::DrawFallback(QPainter& painter) {
    QColor face = palette().color(QPalette::Button);
    if (isDown()) {
        face = face.darker(130);
    } else if (hover_ && isEnabled()) {
        face = face.lighter(112);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Dark), 1));
    painter.setBrush(face);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter, text());
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
    if (!tracking_) {
        tracking_ = true;
        hover_timer_.start(kHoverDelay_ms);
    }
    QPushButton::mouseMoveEvent(event);
}

void CSkinButton::OnMouseHover() {
    hover_ = true;
    update();
}

void CSkinButton::leaveEvent(QEvent* event) {
    hover_timer_.stop();
    hover_ = false;
    tracking_ = false;
    update();
    QPushButton::leaveEvent(event);
}
