#include "update/app/DlgChangeChannel.h"

#include <QApplication>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "common/ui/widgets/DialogFont.h"
#include "common/ui/widgets/MakeControl.h"
#include "common/ui/widgets/UiText.h"
#include "platform/netctrl/NetCtrl.h"
#include "update/app/DialogUnits.h"
#include "update/app/GlyphRender.h"
#include "update/app/PreviewCanvas.h"
#include "update/app/ToolMessageBox.h"
#include "update/core/FontList.h"
#include "update/core/LoginRules.h"
#include "update/core/TitleUpdate.h"

namespace {

constexpr QPoint kPreviewAt{250, 10};

QLineEdit* MakeSizeField(QWidget* parent, const char* name, QRect place) {
    auto* field = MakeControl<QLineEdit>(parent, name, place);
    field->setValidator(new QIntValidator(0, 999, field));
    field->setEnabled(false);
    return field;
}

QImage ToImage(const TitlePicture& picture) {
    QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.Width(); ++x)
            row[x] = 0xFF000000u | picture.Pixel(x, y);
    }
    return image;
}

}  // namespace

DlgChangeChannel::DlgChangeChannel(const std::string& program_folder, QWidget* parent)
    : QDialog(parent),
      folder_(program_folder),
      settings_(program_folder),
      names_group_(MakeControl<QGroupBox>(this, "names_group", {15, 10, 200, 400})),
      font_label_(MakeControl<QLabel>(this, "font_label", {15, 412, 120, 18})),
      size_label_(MakeControl<QLabel>(this, "size_label", {145, 412, 80, 18})),
      height_label_(MakeControl<QLabel>(this, "height_label", {150, 432, 20, 18})),
      width_label_(MakeControl<QLabel>(this, "width_label", {150, 462, 20, 18})),
      height_edit_(MakeSizeField(this, "cell_height", {170, 430, 20, 18})),
      width_edit_(MakeSizeField(this, "cell_width", {170, 460, 20, 18})),
      preview_button_(MakeControl<QPushButton>(this, "preview", DialogUnitRect(99, 300, 40, 15))),
      update_button_(
          MakeControl<QPushButton>(this, "change_names", DialogUnitRect(207, 286, 75, 16))),
      cancel_(MakeControl<QPushButton>(this, "cancel", DialogUnitRect(305, 313, 50, 14))) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setFixedSize(545, 545);
    for (int k = 0; k < kTitleRows; ++k) {
        auto* label = MakeControl<QLabel>(this, QStringLiteral("ch_label%1").arg(k + 1),
                                          {25, 30 + 23 * k, 25, 20});
        label->setText(QStringLiteral("CH%1").arg(k + 1));
        names_[static_cast<std::size_t>(k)] = MakeControl<QLineEdit>(
            this, QStringLiteral("name%1").arg(k + 1), {60, 28 + 23 * k, 120, 20});
    }
    font_list_ = MakeControl<QListWidget>(this, "font_list", {15, 430, 120, 80});
    // Long face names scroll into view rather than being cut.
    font_list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    font_list_->setTextElideMode(Qt::ElideNone);
    preview_ = MakeControl<PreviewCanvas>(this, "preview_box", {kPreviewAt, QSize(244, 388)});
    for (QPushButton* button : {preview_button_, update_button_, cancel_}) {
        button->setAutoDefault(false);
    }
    connect(preview_button_, &QPushButton::clicked, this, &DlgChangeChannel::OnPreview);
    connect(update_button_, &QPushButton::clicked, this, &DlgChangeChannel::OnUpdateDvrChannel);
    connect(cancel_, &QPushButton::clicked, this, &DlgChangeChannel::reject);
    connect(font_list_, &QListWidget::currentRowChanged, this,
            &DlgChangeChannel::OnSelchangeFontList);
}

void DlgChangeChannel::OnInitDialog() {
    language_.Load(folder_, LanguageFileFor(settings_.GetLanguage()));
    setWindowTitle(UiText(language_, "Update_Word3"));
    names_group_->setTitle(UiText(language_, "Update_Word4"));
    font_label_->setText(UiText(language_, "Update_Word5"));
    preview_button_->setText(UiText(language_, "Update_Word6"));
    update_button_->setText(UiText(language_, "Update_Word7"));
    size_label_->setText(UiText(language_, "Update_Word14"));
    width_label_->setText(UiText(language_, "Update_Word15"));
    height_label_->setText(UiText(language_, "Update_Word16"));
    cancel_->setText(UiText(language_, "Set_word8"));

    const int type_code = net_ ? net_->GetMachineInfe().nTypeCode : 0;
    series_ = SeriesOf(type_code);
    channel_count_ = ChannelCountOf(type_code);
    for (QLineEdit* name : names_)
        name->clear();
    SetPreviewBox(PreviewBoxFor(series_, TitlePass::kOpening));
    preview_->SetPicture({});
    FillFontList();
}

void DlgChangeChannel::FillFontList() {
    font_list_->clear();
    const std::vector<std::string> faces = InstalledFaceNames();
    for (const std::string& face : faces) {
        font_list_->addItem(QString::fromStdString(face));
        font_list_->item(font_list_->count() - 1)->setToolTip(QString::fromStdString(face));
    }
    const int chosen = DefaultFaceIndex(faces);
    font_list_->setCurrentRow(chosen);
    face_name_ = chosen >= 0 ? font_list_->item(chosen)->text() : QString();
}

void DlgChangeChannel::OnSelchangeFontList() {
    DoDataExchange();
    if (const QListWidgetItem* item = font_list_->currentItem()) face_name_ = item->text();
}

void DlgChangeChannel::DoDataExchange() {
    cell_width_px_ = width_edit_->text().toInt();
    cell_height_px_ = height_edit_->text().toInt();
}

void DlgChangeChannel::SetPreviewBox(const PreviewBox& box) {
    preview_->setGeometry({kPreviewAt, QSize(box.outer_width_px, box.outer_height_px)});
    height_edit_->setText(QString::number(box.cell_height_px));
    width_edit_->setText(QString::number(box.cell_width_px));
}

TitleNames DlgChangeChannel::Names() const {
    TitleNames names;
    for (std::size_t k = 0; k < names_.size(); ++k) {
        const QList<uint> characters = names_[k]->text().toUcs4();
        names[k].assign(characters.begin(), characters.end());
    }
    return names;
}

void DlgChangeChannel::OnPreview() { RenderPreview(); }

TitlePicture DlgChangeChannel::RenderPreview() {
    DoDataExchange();
    const PreviewBox box{preview_->width(), preview_->height(), cell_height_px_, cell_width_px_};
    const QString face = face_name_;
    TitlePicture picture = RenderTitlePicture(Names(), box, series_,
                                              [&](char32_t c) { return LoadGlyphBitmap(c, face); });
    preview_->SetPicture(ToImage(picture));
    return picture;
}

void DlgChangeChannel::OnUpdateDvrChannel() {
    if (!net_) return;
    if (!LinkUp(net_->GetMachineInfe().nLinkState)) {
        ShowToolMessage(this, {language_.Text("word8"), "", false});
        return;
    }
    // The wait cursor shows while the files are made and sent, not over a message.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto show = [this](const ToolMessage& message) {
        QApplication::restoreOverrideCursor();
        ShowToolMessage(this, message);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    };
    TitleUpdate update(*net_, show, language_.Text("Update_Word18"));
    const bool sent =
        update.OnUpdateDvrChannel(series_, channel_count_, [this](const PreviewBox& b) {
            SetPreviewBox(b);
            return RenderPreview();
        });
    QApplication::restoreOverrideCursor();
    if (sent) accept();
}
