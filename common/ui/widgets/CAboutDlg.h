#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>

// The About box of every program's window menu: the program's icon, its name and version,
// and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    CAboutDlg(const QIcon& icon, const QString& program, QWidget* parent = nullptr);
};
