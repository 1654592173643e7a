#pragma once

#include <QDialog>
#include <QIcon>

// The About box: the program's icon, its name and version, and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(const QIcon& icon, QWidget* parent = nullptr);
};
