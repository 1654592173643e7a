#include <QListWidget>
#include <set>

#include "update/app/DlgChangeChannel.h"
#include "update/app/GlyphRender.h"
#include "update/app/PreviewCanvas.h"
#include "update/app/tests/FirmoraFixture.h"
#include "update/core/FontList.h"
#include "update/core/TitleLayout.h"

namespace {

class DlgChangeChannelTest : public FirmoraFixture {
protected:
    void TearDown() override {
        dialog_.reset();
        FirmoraFixture::TearDown();
    }
    void Open(int type_code) {
        StartRecorder(type_code);
        LogIn();
        dialog_ = std::make_unique<DlgChangeChannel>(Folder(), nullptr);
        dialog_->SetConnection(&net_);
        dialog_->OnInitDialog();
        dialog_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    }
    void Name(int channel, const QString& text) {
        Field(dialog_.get(), QStringLiteral("name%1").arg(channel).toLatin1())->setText(text);
    }
    QWidget* Box() const { return dialog_->findChild<QWidget*>("preview_box"); }
    const QImage& Drawing() const {
        return dialog_->findChild<PreviewCanvas*>("preview_box")->Picture();
    }

    std::unique_ptr<DlgChangeChannel> dialog_;
};

bool Black(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

// A glyph's black box fills its rectangle: ink on all four edges, none around it.
void ExpectGlyphFills(const QImage& image, const CellRect& r) {
    bool top = false, bottom = false, left = false, right = false;
    for (int x = r.x; x < r.x + r.width; ++x) {
        top |= Black(image, x, r.y);
        bottom |= Black(image, x, r.y + r.height - 1);
        EXPECT_FALSE(Black(image, x, r.y - 1) || Black(image, x, r.y + r.height)) << x;
    }
    for (int y = r.y; y < r.y + r.height; ++y) {
        left |= Black(image, r.x, y);
        right |= Black(image, r.x + r.width - 1, y);
        EXPECT_FALSE(Black(image, r.x - 1, y) || Black(image, r.x + r.width, y)) << y;
    }
    EXPECT_TRUE(top && bottom && left && right) << r.x << "," << r.y;
}

}  // namespace

TEST_F(DlgChangeChannelTest, FontsAndPreview) {
    Open(1016);
    auto* fonts = dialog_->findChild<QListWidget*>("font_list");
    const std::vector<std::string> faces = InstalledFaceNames();
    ASSERT_EQ(fonts->count(), static_cast<int>(faces.size()));
    EXPECT_EQ(std::set<std::string>(faces.begin(), faces.end()).size(), faces.size());
    // A plain face to start with, not the first name in order; long names scroll, not cut.
    EXPECT_EQ(dialog_->FaceName().toStdString(), faces[DefaultFaceIndex(faces)]);
    EXPECT_EQ(fonts->currentItem()->text(), dialog_->FaceName());
    EXPECT_EQ(dialog_->FaceName(), "WenQuanYi Micro Hei");
    EXPECT_EQ(fonts->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(Box()->geometry(), QRect(250, 10, 244, 388));

    const auto dejavu = fonts->findItems("DejaVu Sans", Qt::MatchExactly);
    ASSERT_EQ(dejavu.size(), 1);
    fonts->setCurrentItem(dejavu.front());
    EXPECT_EQ(dialog_->FaceName(), "DejaVu Sans");
    Name(1, "AB D");
    Name(2, QString::fromUtf8("\u4e2dx"));
    Click(dialog_.get(), "preview");
    const QImage& drawing = Drawing();
    ASSERT_EQ(drawing.size(), QSize(244, 388));
    ExpectGlyphFills(drawing, GlyphCellRect(1, false, 0, 0, 24, 24));
    ExpectGlyphFills(drawing, GlyphCellRect(1, false, 3, 0, 24, 24));
    ExpectGlyphFills(drawing, GlyphCellRect(1, true, 0, 1, 24, 24));
    ExpectGlyphFills(drawing, GlyphCellRect(1, false, 1, 1, 24, 24));
    for (int y = 0; y < 24; ++y) {
        for (int x = 48; x < 72; ++x)
            EXPECT_FALSE(Black(drawing, x, y)) << "space";
    }
}

// With the link gone the dialog says so and makes nothing, rather than failing a send.
TEST_F(DlgChangeChannelTest, SeriesSevenSizesAndALinkGone) {
    Open(7004);
    EXPECT_EQ(Box()->geometry(), QRect(250, 10, 72, 224));
    EXPECT_EQ(Field(dialog_.get(), "cell_height")->text(), "14");
    EXPECT_EQ(Field(dialog_.get(), "cell_width")->text(), "12");
    net_.DisConnect();
    Click(dialog_.get(), "change_names");
    EXPECT_EQ(boxes_.Texts(), QStringList{"The network is disconnected extraordinarily or is "
                                          "disconnected by the server"});
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(Box()->geometry(), QRect(250, 10, 72, 224));
    EXPECT_TRUE(emulator_.Journal(0).uploads.empty());
}
