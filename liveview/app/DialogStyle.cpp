#include "liveview/app/DialogStyle.h"

#include <QApplication>
#include <QLabel>
#include <QProxyStyle>
#include <QWidget>

namespace {

class CompactStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
            case PM_TabBarTabHSpace:
                return 10;
            case PM_CheckBoxLabelSpacing:
                return 3;
            default:
                return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

}  // namespace

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

QStyle* CompactControlStyle() {
    // One for the program, gone with the application after every window.
    static QStyle* const kStyle = [] {
        QStyle* compact = new CompactStyle;
        compact->setParent(qApp);
        return compact;
    }();
    return kStyle;
}
