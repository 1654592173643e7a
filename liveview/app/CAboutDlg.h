#pragma once

#include <QDialog>
#include <QIcon>

// The About box of the live view's system menu: the program's icon, name and version.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(const QIcon& icon, QWidget* parent = nullptr);
};
