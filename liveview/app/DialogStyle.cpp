#include "DialogStyle.h"

#include <QLabel>
#include <QWidget>

QFont DialogFont() {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    // Narrowed to the 6-pixel Latin letters the layouts were made for.
    font.setStretch(85);
    return font;
}

void ApplyDialogStyle(QWidget* dialog, int width_units, int height_units) {
    dialog->setFont(DialogFont());
    dialog->setFixedSize(DialogUnits_px(width_units), DialogUnits_px(height_units));
}

QLabel* NewStaticText(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}
