#include "common/ui/widgets/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

CAboutDlg::CAboutDlg(const QIcon& icon, const QString& program, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About %1").arg(program));
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("%1 Version 1.0").arg(program), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
