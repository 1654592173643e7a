#pragma once

#include <QDialog>
#include <string>

#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The log-in dialog of the update tool: server as "address:port", user and password. Every
// opening shows the preset server and user; the entries confirmed last stay readable after the
// dialog closed.
class DlgLogin : public QDialog {
    Q_OBJECT

public:
    static constexpr char kPresetServer[] = "192.168.1.100:6802";
    static constexpr char kPresetUser[] = "USER01";

    DlgLogin(const std::string& program_folder, QWidget* parent);

    void OnInitDialog();

    std::string& User() { return user_; }
    const std::string& Password() const { return password_; }
    const std::string& Server() const { return server_; }

    // Confirm: ends the dialog when all three fields hold something.
    void accept() override;

private:
    void OnOK();

    std::string folder_;
    LanguageSelect language_{LanguageTable::kUpdateTool};
    CConfigFile settings_;
    std::string user_;
    std::string password_;
    std::string server_;

    QLabel* server_label_;
    QLabel* user_label_;
    QLabel* password_label_;
    QLineEdit* server_edit_;
    QLineEdit* user_edit_;
    QLineEdit* password_edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
