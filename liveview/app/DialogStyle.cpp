#include "liveview/app/DialogStyle.h"

#include <QApplication>
#include <QProxyStyle>
#include <QWidget>

#include "common/ui/core/DialogUnits.h"
#include "common/ui/widgets/DialogFont.h"

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

void ApplyDialogStyle(QWidget* dialog, int width_units, int height_units) {
    constexpr DialogBaseUnits kTemplateFont{6, 12};
    dialog->setFont(DialogFont());
    dialog->setFixedSize(
        DialogUnitsX_px(width_units, kTemplateFont, DialogUnitRounding::kDropped),
        DialogUnitsY_px(height_units, kTemplateFont, DialogUnitRounding::kDropped));
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
