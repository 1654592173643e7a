// Lays every generated image of the tree out on one sheet for review; buttons appear as the
// windows show them (source offset, elliptic clip), enlarged:
//   asset_contact_sheet <client-folder> <sheet.png>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <vector>

#include "tools/assets/AssetWriter.h"
#include "tools/assets/NameStrips.h"
#include "tools/assets/Palette.h"
#include "tools/assets/SkinCatalog.h"

namespace {

using namespace skinart;

constexpr int kSheetWidth_px = 1600;
constexpr int kGap_px = 14;
constexpr int kZoom = 2;

class Sheet {
public:
    explicit Sheet(const QString& client)
        : client_(client + '/'), image_(kSheetWidth_px, 8000, QImage::Format_RGB32) {
        image_.fill(QColor(52, 56, 62));
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing);
    }

    void Heading(const QString& text) {
        NewRow();
        QFont font("DejaVu Sans");
        font.setBold(true);
        font.setPixelSize(18);
        painter_.setFont(font);
        painter_.setPen(kInkBright);
        painter_.drawText(QPoint(kGap_px, y_ + 20), text);
        y_ += 30;
    }

    // A tile: the image, its caption below; tiles flow left to right.
    void Tile(const QImage& picture, const QString& caption) {
        if (x_ + picture.width() > kSheetWidth_px - kGap_px) {
            NewRow();
        }
        painter_.drawImage(x_, y_, picture);
        QFont font("DejaVu Sans");
        font.setPixelSize(11);
        painter_.setFont(font);
        painter_.setPen(kInk);
        painter_.drawText(QRect(x_, y_ + picture.height() + 2, picture.width() + kGap_px, 14),
                          Qt::AlignLeft, caption);
        x_ += picture.width() + kGap_px;
        row_height_ = std::max(row_height_, picture.height() + 20);
    }

    QImage Load(const QString& relative) const { return QImage(client_ + relative); }
    QByteArray Bytes(const QString& relative) const {
        QFile file(client_ + relative);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool Save(const QString& path) {
        NewRow();
        painter_.end();
        return image_.copy(0, 0, kSheetWidth_px, y_).save(path);
    }

private:
    void NewRow() {
        if (x_ > kGap_px) {
            y_ += row_height_ + kGap_px;
        }
        x_ = kGap_px;
        row_height_ = 0;
    }

    QString client_;
    QImage image_;
    QPainter painter_;
    int x_ = kGap_px;
    int y_ = kGap_px;
    int row_height_ = 0;
};

QImage AsShown(const QImage& image, const SkinButtonArt& button) {
    const int offset_px = button.drawn_without_offset ? 0 : 2;
    QImage shown(button.size_px * kZoom, QImage::Format_RGB32);
    shown.fill(kGroundBottom);
    QPainter painter(&shown);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kZoom, kZoom);
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(QPointF(0, 0), button.size_px));
    painter.setClipPath(ellipse);
    painter.drawImage(-offset_px, -offset_px, image);
    return shown;
}

QImage StatesOf(Sheet& sheet, const QString& folder, const SkinButtonArt& button) {
    const QSize tile = button.size_px * kZoom;
    QImage row(tile.width() * 4 + 12, tile.height(), QImage::Format_RGB32);
    row.fill(QColor(52, 56, 62));
    QPainter painter(&row);
    for (int n = 1; n <= button.image_count; ++n) {
        const QImage image = sheet.Load(folder + '/' + button.stem + QString::number(n) + ".bmp");
        painter.drawImage((n - 1) * (tile.width() + 4), 0,
                          image.isNull() ? QImage() : AsShown(image, button));
    }
    return row;
}

QImage Enlarged(const QImage& image, int zoom) {
    return image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage DecodedOverlay(const QByteArray& bytes, const NameStripSheet& layout) {
    if (bytes.size() < 5) {
        return QImage();
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const int width = data[0] * 100 + data[1];
    const int height = data[2] * 100 + data[3];
    const int row_bytes = (width + 7) / 8;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kWell);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const qsizetype at = 5 + qsizetype(y) * row_bytes + x / 8;
            if (at < bytes.size() && (data[at] & (0x80 >> (x % 8)))) {
                image.setPixel(x, y, qRgb(230, 230, 230));
            }
        }
    }
    QPainter painter(&image);
    painter.setPen(QPen(kAccent, 1));
    for (const QRect& strip : layout.strips) {
        painter.drawRect(strip.adjusted(0, 0, -1, -1));
    }
    return image;
}

struct Placed {
    const char* stem;
    int x_px, y_px;
};

// Where each window shows its buttons at start (one of each pair sharing a place).
const std::vector<std::pair<const char*, std::vector<Placed>>> kWindows = {
    {"skin1",
     {{"up", 888, 63},        {"enter", 888, 91},  {"left", 856, 93},    {"right", 919, 93},
      {"down", 888, 123},     {"i+", 812, 190},    {"i-", 857, 190},     {"f+", 902, 190},
      {"f-", 947, 190},       {"z+", 812, 220},    {"z-", 857, 220},     {"auto", 902, 220},
      {"ADD", 956, 280},      {"DELE", 956, 315},  {"connet", 956, 390}, {"set", 956, 425},
      {"localrec", 956, 460}, {"4LOW", 816, 610},  {"9LOW", 876, 610},   {"16LOW", 936, 610},
      {"CAPTURE", 30, 670},   {"disk", 90, 670},   {"OFF", 150, 670},    {"ADMIN", 210, 670},
      {"25LOW", 400, 662},    {"36LOW", 450, 662}, {"64LOW", 500, 662},  {"144LOW", 550, 662},
      {"256LOW", 600, 662},   {"EXIT", 870, 660},  {"Min", 920, 15},     {"full", 950, 15},
      {"close", 980, 15}}},
    {"skin3",
     {{"PLAY", 760, 636},
      {"BACKU", 894, 520},
      {"OFF", 760, 520},
      {"SPEED_LOW", 760, 678},
      {"CAPTURE", 826, 520},
      {"EXIT", 930, 660},
      {"LOGIN", 856, 50},
      {"Min", 950, 15},
      {"close", 980, 15}}},
    {"skin4",
     {{"FILEPLAY", 20, 30},
      {"LOCAL VIEW", 100, 30},
      {"NETPLAY", 180, 30},
      {"TOVRA", 260, 30},
      {"MIN", 280, 0},
      {"CLOSE", 310, 0}}},
};

// The window's background with its buttons drawn over it as the window shows them.
QImage WindowPreview(Sheet& sheet, const SkinFolderArt& folder, const std::vector<Placed>& placed) {
    QImage window = sheet.Load(QString(folder.folder) + "/BACKGROUND.bmp")
                        .convertToFormat(QImage::Format_RGB32);
    QPainter painter(&window);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Placed& place : placed) {
        for (const SkinButtonArt& button : folder.buttons) {
            if (QString(button.stem) != place.stem) {
                continue;
            }
            const QImage image = sheet.Load(QString(folder.folder) + '/' + button.stem + "1.bmp");
            painter.save();
            painter.translate(place.x_px, place.y_px);
            QPainterPath ellipse;
            ellipse.addEllipse(QRectF(QPointF(0, 0), button.size_px));
            painter.setClipPath(ellipse);
            painter.drawImage(-2, -2, image);
            painter.restore();
        }
    }
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <client-folder> <sheet.png>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Sheet sheet(QString::fromLocal8Bit(argv[1]));

    for (const auto& [folder_name, placed] : kWindows) {
        for (const SkinFolderArt& folder : SkinFolders()) {
            if (QString(folder.folder) == folder_name) {
                sheet.Heading(QString(folder_name) + " as its window shows it at start");
                sheet.Tile(WindowPreview(sheet, folder, placed), "");
            }
        }
    }
    sheet.Heading("Backgrounds");
    for (const SkinFolderArt& folder : SkinFolders()) {
        const QImage background = sheet.Load(QString(folder.folder) + "/BACKGROUND.bmp");
        const qreal scale = background.width() > 600 ? 0.5 : 1.0;
        sheet.Tile(background.scaled(background.size() * scale, Qt::KeepAspectRatio,
                                     Qt::SmoothTransformation),
                   QString(folder.folder) + "/BACKGROUND.bmp");
    }
    for (const SkinFolderArt& folder : SkinFolders()) {
        sheet.Heading(QString(folder.folder) + ": normal, hover, pressed, disabled");
        for (const SkinButtonArt& button : folder.buttons) {
            sheet.Tile(StatesOf(sheet, folder.folder, button), QString("%1 (%2 x %3)")
                                                                   .arg(button.stem)
                                                                   .arg(button.size_px.width())
                                                                   .arg(button.size_px.height()));
        }
    }
    sheet.Heading("Program icons, tree icons and slider thumbs");
    for (const char* program : {"Start", "Oculan", "Rewinda", "Firmora"}) {
        sheet.Tile(Enlarged(sheet.Load(ProgramIconPath(program)), 2), ProgramIconPath(program));
    }
    for (const int id : {138, 139, 140, 162}) {
        sheet.Tile(Enlarged(sheet.Load(TreeIconPath(id)), 4), TreeIconPath(id));
    }
    for (const int id : {132, 133}) {
        sheet.Tile(Enlarged(sheet.Load(SliderThumbPath(id)), 4), SliderThumbPath(id));
    }
    sheet.Heading("Channel-name overlays (strips outlined)");
    for (const NameStripSheet* layout : {&FullWidthSheet(), &CifSheet()}) {
        const QString name = QString("config/") + layout->file_name;
        sheet.Tile(Enlarged(DecodedOverlay(sheet.Bytes(name), *layout), 2), name);
    }
    return sheet.Save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
