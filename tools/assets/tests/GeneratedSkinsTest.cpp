// Checks the tree the build drew against what each skinned window names and how it shows it.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QString>
#include <vector>

namespace {

const QString kClient = QStringLiteral(SUITE_TREE_DIR "/ClientSoftware/");

struct Named {
    const char* folder;
    const char* stem;
    int width_px, height_px;
    int images;  // 3: the window shows image 1 when the button is disabled
};

// Button sizes as the windows lay their buttons out before skinning them.
const std::vector<Named> kNamed = {
    {"skin1", "up", 30, 25, 3},        {"skin1", "enter", 30, 25, 3},
    {"skin1", "left", 30, 25, 3},      {"skin1", "right", 30, 25, 3},
    {"skin1", "down", 30, 30, 3},      {"skin1", "i+", 45, 25, 3},
    {"skin1", "i-", 45, 25, 3},        {"skin1", "f+", 45, 25, 3},
    {"skin1", "f-", 45, 25, 3},        {"skin1", "z+", 45, 25, 3},
    {"skin1", "z-", 45, 25, 3},        {"skin1", "auto", 45, 25, 4},
    {"skin1", "Hide", 100, 100, 3},    {"skin1", "ADD", 60, 35, 4},
    {"skin1", "DELE", 60, 35, 4},      {"skin1", "connet", 60, 35, 4},
    {"skin1", "disconnet", 60, 35, 4}, {"skin1", "set", 60, 35, 4},
    {"skin1", "localrec", 60, 35, 4},  {"skin1", "localrecstop", 60, 35, 4},
    {"skin1", "4LOW", 56, 46, 4},      {"skin1", "9LOW", 56, 46, 4},
    {"skin1", "16LOW", 56, 46, 4},     {"skin1", "CAPTURE", 60, 35, 4},
    {"skin1", "disk", 60, 35, 4},      {"skin1", "OFF", 60, 35, 4},
    {"skin1", "ON", 60, 35, 4},        {"skin1", "ADMIN", 60, 35, 4},
    {"skin1", "map", 60, 35, 4},       {"skin1", "25LOW", 60, 50, 4},
    {"skin1", "36LOW", 60, 50, 4},     {"skin1", "64LOW", 60, 50, 4},
    {"skin1", "144LOW", 60, 50, 4},    {"skin1", "256LOW", 60, 50, 4},
    {"skin1", "EXIT", 73, 73, 3},      {"skin1", "Min", 24, 24, 3},
    {"skin1", "full", 24, 24, 3},      {"skin1", "close", 24, 24, 3},
    {"skin3", "PLAY", 60, 40, 4},      {"skin3", "play-stop", 60, 40, 4},
    {"skin3", "BACKU", 56, 36, 4},     {"skin3", "OFF", 60, 40, 4},
    {"skin3", "ON", 60, 40, 4},        {"skin3", "SPEED_LOW", 60, 40, 4},
    {"skin3", "SPEED_UP", 60, 40, 4},  {"skin3", "CAPTURE", 60, 40, 4},
    {"skin3", "TIME", 46, 30, 4},      {"skin3", "EXIT", 73, 73, 3},
    {"skin3", "LOGIN", 65, 51, 3},     {"skin3", "LOGOUT", 65, 51, 3},
    {"skin3", "Min", 24, 24, 3},       {"skin3", "close", 24, 24, 3},
    {"skin4", "FILEPLAY", 63, 82, 3},  {"skin4", "LOCAL VIEW", 63, 82, 3},
    {"skin4", "NETPLAY", 63, 82, 3},   {"skin4", "TOVRA", 63, 82, 3},
    {"skin4", "MIN", 25, 25, 3},       {"skin4", "CLOSE", 25, 25, 3},
    {"skin4", "botton", 16, 16, 3},
};

QString ImagePath(const Named& named, int state) {
    return kClient + named.folder + '/' + named.stem + QString::number(state) + ".bmp";
}

QImage Load(const QString& path) {
    QImage image(path);
    EXPECT_FALSE(image.isNull()) << qPrintable(path);
    return image;
}

std::vector<QString> AllBitmaps() {
    std::vector<QString> paths;
    for (const Named& named : kNamed) {
        for (int state = 1; state <= named.images; ++state) {
            paths.push_back(ImagePath(named, state));
        }
    }
    for (const char* folder : {"skin1", "skin3", "skin4"}) {
        paths.push_back(kClient + folder + "/BACKGROUND.bmp");
    }
    paths.push_back(kClient + "res/bitmap132.bmp");
    paths.push_back(kClient + "res/bitmap133.bmp");
    return paths;
}

TEST(GeneratedSkins, EveryNamedImageHasItsButtonsSizeAndStateCount) {
    for (const Named& named : kNamed) {
        for (int state = 1; state <= named.images; ++state) {
            const QImage image = Load(ImagePath(named, state));
            EXPECT_EQ(image.width(), named.width_px) << qPrintable(ImagePath(named, state));
            EXPECT_EQ(image.height(), named.height_px) << qPrintable(ImagePath(named, state));
        }
        // A three-image button borrows image 1 when disabled; a file 4 would never be shown.
        EXPECT_EQ(QFile::exists(ImagePath(named, 4)), named.images == 4)
            << qPrintable(ImagePath(named, 4));
    }
}

TEST(GeneratedSkins, BackgroundsAreTheSizeOfTheirWindows) {
    EXPECT_EQ(Load(kClient + "skin1/BACKGROUND.bmp").size(), QSize(1024, 738));
    EXPECT_EQ(Load(kClient + "skin3/BACKGROUND.bmp").size(), QSize(1024, 738));
    EXPECT_EQ(Load(kClient + "skin4/BACKGROUND.bmp").size(), QSize(358, 175));
}

TEST(GeneratedSkins, BitmapsAre24BitUncompressedWithoutMappedGreys) {
    for (const QString& path : AllBitmaps()) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
        const QByteArray header = file.read(54);
        ASSERT_EQ(header.size(), 54);
        EXPECT_EQ(header.left(2), QByteArray("BM")) << qPrintable(path);
        EXPECT_EQ(header[28], 24) << qPrintable(path);  // bits per pixel
        EXPECT_EQ(header[30], 0) << qPrintable(path);   // no compression

        // The loaders turn these greys into the desktop's 3-D colours.
        const QImage image = Load(path).convertToFormat(QImage::Format_RGB32);
        int mapped = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                const int r = qRed(p);
                mapped += r == qGreen(p) && r == qBlue(p) && (r == 128 || r == 192 || r == 223);
            }
        }
        EXPECT_EQ(mapped, 0) << qPrintable(path);
    }
}

TEST(GeneratedSkins, EveryStateLooksDifferent) {
    for (const Named& named : kNamed) {
        std::vector<QImage> states;
        for (int state = 1; state <= named.images; ++state) {
            states.push_back(Load(ImagePath(named, state)));
        }
        for (std::size_t a = 0; a < states.size(); ++a) {
            for (std::size_t b = a + 1; b < states.size(); ++b) {
                EXPECT_NE(states[a], states[b])
                    << named.folder << '/' << named.stem << " states " << a + 1 << ", " << b + 1;
            }
        }
    }
}

// A button shows its image from pixel (2, 2) through the ellipse of its size; the cover plate
// is shown enlarged, where the offset falls away. The face must fill what shows and stop there.
TEST(GeneratedSkins, FacesFillTheEllipseTheWindowShows) {
    for (const Named& named : kNamed) {
        const int offset_px = QString(named.stem) == "Hide" ? 0 : 2;
        const QImage image = Load(ImagePath(named, 1)).convertToFormat(QImage::Format_RGB32);
        const QRgb outside = image.pixel(image.width() - 1, 0);
        const int cx = offset_px + named.width_px / 2 - 1, cy = offset_px + named.height_px / 2 - 1;
        const int inset_px = 3;
        const QPoint inside[] = {
            {offset_px + inset_px, cy},
            {std::min(offset_px + named.width_px, named.width_px) - inset_px - 1, cy},
            {cx, offset_px + inset_px},
            {cx, std::min(offset_px + named.height_px, named.height_px) - inset_px - 1}};
        for (const QPoint& p : inside) {
            EXPECT_NE(image.pixel(p), outside)
                << named.folder << '/' << named.stem << " at " << p.x() << ',' << p.y();
        }
        EXPECT_EQ(image.pixel(offset_px, offset_px), outside) << named.folder << '/' << named.stem;
    }
}

TEST(GeneratedResources, TreeIconsAreMaskedSixteenPixelIcons) {
    for (const int id : {138, 139, 140, 162}) {
        const QImage icon = Load(kClient + QString("res/icon%1.png").arg(id));
        EXPECT_EQ(icon.size(), QSize(16, 16)) << id;
        EXPECT_TRUE(icon.hasAlphaChannel()) << id;
        EXPECT_EQ(qAlpha(icon.pixel(0, 15)), 0) << id;
        EXPECT_EQ(qAlpha(icon.pixel(8, 8)), 255) << id;
    }
}

TEST(GeneratedResources, ProgramIconsAreRoundAndDistinct) {
    std::vector<QImage> icons;
    for (const char* program : {"Start", "Oculan", "Rewinda", "Firmora"}) {
        const QImage icon = Load(kClient + QString("res/%1.png").arg(program));
        EXPECT_EQ(icon.size(), QSize(48, 48)) << program;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << program;
        EXPECT_EQ(qAlpha(icon.pixel(24, 4)), 255) << program;
        for (const QImage& other : icons) {
            EXPECT_NE(icon, other) << program;
        }
        icons.push_back(icon);
    }
}

TEST(GeneratedResources, SliderThumbsAreKeyedOnTheirFirstPixel) {
    const QImage resting = Load(kClient + "res/bitmap132.bmp");
    const QImage dragged = Load(kClient + "res/bitmap133.bmp");
    EXPECT_NE(resting, dragged);
    for (const QImage& thumb : {resting, dragged}) {
        ASSERT_EQ(thumb.size(), QSize(25, 11));
        const QRgb key = thumb.pixel(0, 0);
        for (const QPoint corner : {QPoint(24, 0), QPoint(0, 10), QPoint(24, 10)}) {
            EXPECT_EQ(thumb.pixel(corner), key);
        }
        // The body is solid: no see-through holes along its middle row and column.
        for (int x = 2; x < 23; ++x) {
            EXPECT_NE(thumb.pixel(x, 5), key) << x;
        }
        for (int y = 0; y < 11; ++y) {
            EXPECT_NE(thumb.pixel(12, y), key) << y;
        }
    }
}

}  // namespace
