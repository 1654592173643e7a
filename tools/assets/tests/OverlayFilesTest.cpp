// Reads the channel-name overlays of the tree the way the playback program does and checks
// that each channel's strip holds a name and nothing lies outside the strips.
#include <gtest/gtest.h>

#include <QFile>
#include <QRect>
#include <array>
#include <vector>

namespace {

const QString kConfig = QStringLiteral(SUITE_TREE_DIR "/ClientSoftware/config/");

struct Overlay {
    int width_px = 0, height_px = 0, type = 0, row_bytes = 0;
    QByteArray bytes;

    bool Ink(int x, int y) const {
        return (static_cast<unsigned char>(bytes[5 + y * row_bytes + x / 8]) & (0x80 >> (x % 8))) !=
               0;
    }
};

Overlay Read(const char* name) {
    QFile file(kConfig + name);
    Overlay overlay;
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot open " << name;
        return overlay;
    }
    overlay.bytes = file.readAll();
    if (overlay.bytes.size() < 5) {
        ADD_FAILURE() << name << " has no header";
        return overlay;
    }
    const auto byte = [&](int i) { return static_cast<unsigned char>(overlay.bytes[i]); };
    EXPECT_LT(byte(1), 100);
    EXPECT_LT(byte(3), 100);
    overlay.width_px = byte(0) * 100 + byte(1);
    overlay.height_px = byte(2) * 100 + byte(3);
    overlay.type = byte(4);
    overlay.row_bytes = (overlay.width_px + 7) / 8;
    return overlay;
}

std::array<QRect, 16> Strips(int first_x, int pitch, QSize narrow, int narrow_y,
                             std::array<int, 7> wide_x, QSize wide, int wide_y) {
    std::array<QRect, 16> strips;
    for (int c = 0; c < 9; ++c) {
        strips[c] = QRect(QPoint(first_x + pitch * c, narrow_y), narrow);
    }
    for (int c = 9; c < 16; ++c) {
        strips[c] = QRect(QPoint(wide_x[c - 9], wide_y), wide);
    }
    return strips;
}

struct Expected {
    const char* name;
    QSize least;
    std::array<QRect, 16> strips;
};

const Expected kFiles[] = {
    {"channel.yuv",
     {676, 151},
     Strips(18, 74, {65, 30}, 62, {30, 122, 216, 308, 402, 494, 588}, {88, 30}, 121)},
    {"cif_8_channel.yuv",
     {462, 69},
     Strips(12, 50, {50, 18}, 14, {20, 80, 140, 202, 264, 326, 388}, {55, 18}, 51)},
};

std::vector<bool> StripBits(const Overlay& overlay, const QRect& strip) {
    std::vector<bool> bits;
    for (int y = strip.top(); y <= strip.bottom(); ++y) {
        for (int x = strip.left(); x <= strip.right(); ++x) {
            bits.push_back(overlay.Ink(x, y));
        }
    }
    return bits;
}

TEST(OverlayFiles, HeaderTypeAndSizeMatch) {
    for (const Expected& expected : kFiles) {
        const Overlay overlay = Read(expected.name);
        EXPECT_EQ(overlay.type, 2) << expected.name;
        EXPECT_GE(overlay.width_px, expected.least.width()) << expected.name;
        EXPECT_GE(overlay.height_px, expected.least.height()) << expected.name;
        EXPECT_EQ(overlay.bytes.size(), 5 + overlay.row_bytes * overlay.height_px) << expected.name;
    }
}

TEST(OverlayFiles, EveryStripCarriesItsOwnNameAndNothingLiesOutside) {
    for (const Expected& expected : kFiles) {
        const Overlay overlay = Read(expected.name);
        ASSERT_EQ(overlay.bytes.size(), 5 + overlay.row_bytes * overlay.height_px);
        std::vector<std::vector<bool>> names;
        for (int c = 0; c < 16; ++c) {
            const QRect strip = expected.strips[c];
            int ink = 0, on_edge = 0;
            for (int y = strip.top(); y <= strip.bottom(); ++y) {
                for (int x = strip.left(); x <= strip.right(); ++x) {
                    ink += overlay.Ink(x, y);
                    const bool edge = x == strip.left() || x == strip.right() || y == strip.top() ||
                                      y == strip.bottom();
                    on_edge += edge && overlay.Ink(x, y);
                }
            }
            // Legible ink, and a clear edge so the name is never cut where the strip is.
            EXPECT_GT(ink, strip.width() * strip.height() / 12)
                << expected.name << " channel " << c;
            EXPECT_EQ(on_edge, 0) << expected.name << " channel " << c;
            names.push_back(StripBits(overlay, strip));
        }
        for (int a = 0; a < 16; ++a) {
            for (int b = a + 1; b < 16; ++b) {
                if (expected.strips[a].size() == expected.strips[b].size()) {
                    EXPECT_NE(names[a], names[b])
                        << expected.name << " channels " << a << ", " << b;
                }
            }
        }
        int stray = 0;
        for (int y = 0; y < overlay.height_px; ++y) {
            for (int x = 0; x < overlay.width_px; ++x) {
                bool in_strip = false;
                for (const QRect& strip : expected.strips) {
                    in_strip = in_strip || strip.contains(x, y);
                }
                stray += !in_strip && overlay.Ink(x, y);
            }
        }
        EXPECT_EQ(stray, 0) << expected.name;
    }
}

}  // namespace
