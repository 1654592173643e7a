#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "liveview/app/DialogTexts.h"

class QLabel;
class QLineEdit;
class QGroupBox;
class QPushButton;

// The address dialog of the ADD button: where a recorder is and the account to log in with.
// It only collects and checks the four texts; the main window adds the device.
class DlgDeviceLogin : public QDialog {
    Q_OBJECT

public:
    static constexpr uint8_t kTitleAdd = 1;
    // What ADD offers: a private-LAN address with the recorders' usual port.
    static constexpr const char* kDefaultAddress = "192.168.1.100:6802";
    static constexpr const char* kDefaultPortText = "6802";
    static constexpr const char* kDefaultUser = "user01";

    explicit DlgDeviceLogin(QWidget* parent = nullptr);

    int SetFields(const std::string& address, const std::string& port_text, const std::string& user,
                  const std::string& password, uint8_t title_mode);
    // OnInitDialog, then the modal loop: QDialog::Accepted with the texts as edited (the user
    // name upper-cased), or QDialog::Rejected.
    int DoModal();
    void OnInitDialog();

    const std::string& Address() const { return address_; }
    const std::string& PortText() const { return port_text_; }
    const std::string& User() const { return user_; }
    const std::string& Password() const { return password_; }

    // OnOK.
    void accept() override;

private:
    DialogTexts texts_;
    std::string address_;
    std::string port_text_;
    std::string user_;
    std::string password_;
    uint8_t title_mode_ = 0;

    QGroupBox* frame_;          // 1073
    QLabel* address_label_;     // 1033
    QLineEdit* address_edit_;   // 1034
    QLabel* port_label_;        // 1035
    QLineEdit* port_edit_;      // 1036
    QLabel* user_label_;        // 1037
    QLineEdit* user_edit_;      // 1038
    QLabel* password_label_;    // 1039
    QLineEdit* password_edit_;  // 1040
    QPushButton* ok_;           // 1
    QPushButton* cancel_;       // 2
};
