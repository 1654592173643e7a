#include "tools/oculan-watch/OculanScreen.h"

#include <algorithm>
#include <cmath>

#include "common/ui/core/SkinImageOffset.h"
#include "common/ui/core/VideoGridLayout.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/core/window/MainWindowLayout.h"
#include "tools/recorder-emulator/ChannelPicture.h"

namespace {

constexpr int kGridChannels = 16;
// Colour distance (squared, summed over R, G, B) within which a picture is a channel's.
constexpr int kChannelDistance = 3 * 40 * 40;
constexpr int kPixelTolerance = 48;
constexpr int kButtonTolerance = 12;
constexpr double kButtonAgreement = 0.95;

int Clamp8(int value) { return std::clamp(value, 0, 255); }

// The suite's conversion of a 4:2:0 sample to colour.
QRgb ToRgb(int y, int u, int v) {
    u -= 128;
    v -= 128;
    return qRgb(Clamp8(y + v * 88 / 64), Clamp8(y - u * 22 / 64 - v * 45 / 64),
                Clamp8(y + u * 111 / 64));
}

int Distance(QRgb a, QRgb b) {
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QRgb Average(const QImage& screen, const QRect& area) {
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!screen.valid(x, y)) continue;
            const QRgb p = screen.pixel(x, y);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            ++n;
        }
    }
    if (n == 0) return 0;
    return qRgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

// Whether every opaque pixel of the icon lies on the screen at (x, y).
bool IconAt(const QImage& screen, const QImage& icon, int x, int y) {
    int compared = 0;
    for (int iy = 0; iy < icon.height(); ++iy) {
        for (int ix = 0; ix < icon.width(); ++ix) {
            const QRgb want = icon.pixel(ix, iy);
            if (qAlpha(want) != 255) continue;
            if (!Near(screen.pixel(x + ix, y + iy), want, 24)) return false;
            ++compared;
        }
    }
    return compared > 0;
}

// The share of a button's middle lines that show the image as the button draws it.
double ButtonAgreement(const QImage& screen, const QPoint& at, const MainWindowControl& control,
                       const QImage& image) {
    const int border = 1;
    const int sx =
        SkinImageOffset(SkinAlign::kCenter, control.width - 4 * border, image.width(), border);
    const int sy =
        SkinImageOffset(SkinAlign::kCenter, control.height - 4 * border, image.height(), border);
    int agree = 0;
    int total = 0;
    auto check = [&](int x, int y) {
        ++total;
        const QPoint source(sx + x, sy + y);
        if (image.valid(source) &&
            Near(screen.pixel(at + QPoint(x, y)), image.pixel(source), kButtonTolerance)) {
            ++agree;
        }
    };
    for (int x = control.width / 4; x < control.width * 3 / 4; ++x)
        check(x, control.height / 2);
    for (int y = control.height / 4; y < control.height * 3 / 4; ++y)
        check(control.width / 2, y);
    return total == 0 ? 0.0 : static_cast<double>(agree) / total;
}

}  // namespace

std::vector<QRect> GridVideoRects(QPoint window_origin, int layout) {
    const MainWindowControl& grid = *FindMainWindowControl(live_view_id::kGrid);
    CVideoGridLayout cells;
    cells.Init(layout > kGridChannels ? 256 : kGridChannels, layout);
    cells.ComputeCells(0, 0, grid.width, grid.height);
    std::vector<QRect> rects;
    const QPoint origin = window_origin + QPoint(grid.x, grid.y);
    for (int i = 0; i < layout; ++i) {
        const VideoCell cell = cells.Cell(i);
        rects.emplace_back(origin + QPoint(cell.video_x, cell.video_y),
                           QSize(cell.video_width, cell.video_height));
    }
    return rects;
}

int ChannelOfPicture(const QImage& screen, const QRect& video_rect) {
    // Top left, clear of the camera number in the middle and the bar at the bottom.
    const QRect sample(
        video_rect.topLeft() + QPoint(video_rect.width() / 8, video_rect.height() / 8),
        QSize(6, 6));
    const QRgb seen = Average(screen, sample);
    int best = -1;
    int best_distance = kChannelDistance;
    for (int channel = 0; channel < kGridChannels; ++channel) {
        const YuvColour c = ChannelColour(channel);
        const int distance = Distance(seen, ToRgb(c.y, c.u, c.v));
        if (distance < best_distance) {
            best = channel;
            best_distance = distance;
        }
    }
    return best;
}

double PictureMatch(const QImage& screen, const QRect& video_rect, int channel, int width_px,
                    int height_px) {
    if (video_rect.isEmpty()) return 0.0;
    const Yuv420Picture picture = DrawChannelPicture(width_px, height_px, channel, 0, 1);
    // The moving bar lies in the bottom twelfth.
    const int rows = video_rect.height() * 11 / 12;
    int agree = 0;
    int total = 0;
    for (int dy = 0; dy < rows; ++dy) {
        const int sy = dy * height_px / video_rect.height();
        for (int dx = 0; dx < video_rect.width(); ++dx) {
            const int sx = dx * width_px / video_rect.width();
            const QRgb want =
                ToRgb(picture.y[static_cast<std::size_t>(sy) * width_px + sx],
                      picture.u[static_cast<std::size_t>(sy / 2) * (width_px / 2) + sx / 2],
                      picture.v[static_cast<std::size_t>(sy / 2) * (width_px / 2) + sx / 2]);
            const QPoint at = video_rect.topLeft() + QPoint(dx, dy);
            if (screen.valid(at) && Near(screen.pixel(at), want, kPixelTolerance)) ++agree;
            ++total;
        }
    }
    return static_cast<double>(agree) / total;
}

quint64 BarFingerprint(const QImage& screen, const QRect& video_rect) {
    quint64 hash = 1469598103934665603ULL;
    const int top = video_rect.top() + video_rect.height() * 11 / 12;
    for (int y = top; y <= video_rect.bottom(); ++y) {
        for (int x = video_rect.left(); x <= video_rect.right(); x += 2) {
            if (!screen.valid(x, y)) continue;
            // Coarse, so coding noise alone does not count as a new picture.
            hash = (hash ^ (qGray(screen.pixel(x, y)) >> 6)) * 1099511628211ULL;
        }
    }
    return hash;
}

std::vector<int> TreeImages(const QImage& screen, QPoint window_origin,
                            const std::array<QImage, 4>& icons, std::vector<QPoint>* positions) {
    const MainWindowControl& tree = *FindMainWindowControl(live_view_id::kTree);
    const QRect area(window_origin + QPoint(tree.x, tree.y), QSize(tree.width, tree.height));
    std::vector<int> images;
    int last_row = -100;
    for (int y = area.top() + 1; y + 16 < area.bottom(); ++y) {
        if (y - last_row < 8) continue;
        for (int x = area.left() + 1; x < area.left() + 70 && y - last_row >= 8; ++x) {
            for (int image = 0; image < 4; ++image) {
                if (!IconAt(screen, icons[image], x, y)) continue;
                images.push_back(image);
                if (positions != nullptr)
                    positions->push_back(QPoint(x, y) + icons[image].rect().center());
                last_row = y;
                break;
            }
        }
    }
    return images;
}

std::vector<int> MisplacedButtons(const QImage& screen, QPoint window_origin,
                                  const QString& skin_folder, const std::vector<int>& hidden) {
    std::vector<int> misplaced;
    for (const MainWindowControl& control : MainWindowControls()) {
        if (control.stem == nullptr || !control.shown_at_start || control.x < 0) continue;
        if (std::find(hidden.begin(), hidden.end(), control.id) != hidden.end()) continue;
        const QPoint at = window_origin + QPoint(control.x, control.y);
        bool shown = false;
        for (int state = 1; state <= 4 && !shown; ++state) {
            const QImage image(skin_folder + "/" + control.stem + QString::number(state) + ".bmp");
            shown =
                !image.isNull() &&
                ButtonAgreement(screen, at, control, image.convertToFormat(QImage::Format_RGB32)) >=
                    kButtonAgreement;
        }
        if (!shown) misplaced.push_back(control.id);
    }
    return misplaced;
}
