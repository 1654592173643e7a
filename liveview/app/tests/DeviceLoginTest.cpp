#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "liveview/app/DlgDeviceLogin.h"
#include "tests/support/MessageBoxAnswers.h"

namespace {

struct Typing {
    QString address;
    QString user;
    QString password;
};

// Opens the dialog as ADD does, types over the three visible fields and presses Confirm.
struct AddDialog {
    explicit AddDialog(const Typing& typing) {
        dialog.SetFields(DlgDeviceLogin::kDefaultAddress, DlgDeviceLogin::kDefaultPortText,
                         DlgDeviceLogin::kDefaultUser, "", DlgDeviceLogin::kTitleAdd);
        dialog.OnInitDialog();
        dialog.open();
        Retype("address", typing.address);
        Retype("user", typing.user);
        Retype("password", typing.password);
        QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
    }

    void Retype(const char* name, const QString& text) {
        auto* edit = dialog.findChild<QLineEdit*>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    MessageBoxAnswers boxes;
    DlgDeviceLogin dialog;
};

}  // namespace

TEST(DlgDeviceLogin, OpensWithThePresetTextsOfAdd) {
    DlgDeviceLogin dialog;
    dialog.SetFields(DlgDeviceLogin::kDefaultAddress, DlgDeviceLogin::kDefaultPortText,
                     DlgDeviceLogin::kDefaultUser, "", DlgDeviceLogin::kTitleAdd);
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.windowTitle(), "Add");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("address")->text(), "192.168.1.100:6802");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("user")->text(), "user01");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("password")->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(dialog.findChild<QLineEdit*>("port")->isHidden());
    EXPECT_EQ(dialog.findChild<QPushButton*>("ok")->geometry(), QRect(120, 170, 60, 20));

    dialog.SetFields("a", "b", "c", "d", 0);
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.windowTitle(), "Login");
}

TEST(DlgDeviceLogin, ConfirmChecksTheTextsAndUpperCasesTheUser) {
    const QString too_long(50, 'a');
    struct Case {
        Typing typing;
        QStringList boxes;
        bool accepted;
    };
    const Case cases[] = {
        {{"192.168.1.100:6802", "user01", "secret"}, {}, true},
        // An address the connect will refuse later is not this dialog's business.
        {{"recorder", "user01", "secret"}, {}, true},
        {{"192.168.1.100:6802", "user01", ""},
         {"The user and the password can not be empty space"},
         false},
        {{"", "user01", "secret"}, {"The user and the password can not be empty space"}, false},
        {{too_long, "user01", "secret"},
         {"The server address is too long: it can hold at most 49 bytes, and 50 were typed."},
         false},
        {{"h:1", "user01", "0123456789"},
         {"The password is too long: it can hold at most 9 bytes, and 10 were typed."},
         false},
    };
    for (const Case& c : cases) {
        AddDialog add(c.typing);
        EXPECT_EQ(add.boxes.Texts(), c.boxes) << c.typing.address.toStdString();
        EXPECT_EQ(add.dialog.isVisible(), !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(add.dialog.result(), QDialog::Accepted);
            EXPECT_EQ(add.dialog.Address(), c.typing.address.toStdString());
            EXPECT_EQ(add.dialog.PortText(), "6802");
            EXPECT_EQ(add.dialog.User(), "USER01");
            EXPECT_EQ(add.dialog.Password(), c.typing.password.toStdString());
        }
    }
}

TEST(DlgDeviceLogin, CancelKeepsThePresetTexts) {
    MessageBoxAnswers boxes;
    DlgDeviceLogin dialog;
    dialog.SetFields("10.1.1.1:6802", "6802", "user01", "", DlgDeviceLogin::kTitleAdd);
    dialog.OnInitDialog();
    dialog.open();
    QTest::keyClicks(dialog.findChild<QLineEdit*>("password"), "typed");
    QTest::mouseClick(dialog.findChild<QPushButton*>("cancel"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.User(), "user01");
    EXPECT_EQ(dialog.Password(), "");
    EXPECT_TRUE(boxes.Texts().isEmpty());
}

TEST(DlgDeviceLogin, NoEditCoversItsCaption) {
    DlgDeviceLogin dialog;
    dialog.SetFields("", "", "", "", DlgDeviceLogin::kTitleAdd);
    dialog.OnInitDialog();
    const std::pair<const char*, const char*> rows[] = {
        {"SERVER:", "address"}, {"USER:", "user"}, {"PASSWORD:", "password"}};
    for (const auto& [caption, edit_name] : rows) {
        const QLabel* label = nullptr;
        for (const QLabel* candidate : dialog.findChildren<QLabel*>()) {
            if (candidate->text() == caption) label = candidate;
        }
        ASSERT_NE(label, nullptr) << caption;
        const QLineEdit* edit = dialog.findChild<QLineEdit*>(edit_name);
        EXPECT_GE(label->width(), label->sizeHint().width()) << caption;
        EXPECT_LE(label->x() + label->sizeHint().width(), edit->x()) << caption;
        EXPECT_LE(edit->geometry().right(), 280) << caption;  // inside the frame
    }
}
