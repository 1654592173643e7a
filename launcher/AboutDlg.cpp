#include "AboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Start"));
    auto* icon = new QLabel(this);
    if (parent) icon->setPixmap(parent->windowIcon().pixmap(32, 32));
    auto* version = new QLabel(QStringLiteral("Start Version 1.0"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* line = new QHBoxLayout;
    line->addWidget(icon);
    line->addWidget(version, 1);
    line->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(line);
}
