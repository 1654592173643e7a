#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "liveview/app/DlgAdmin.h"
#include "liveview/app/DlgLockCheck.h"
#include "liveview/app/tests/PromptAnswers.h"
#include "tests/support/MessageBoxAnswers.h"

namespace {

void Click(QWidget* dialog, const char* name) {
    QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton);
}

}  // namespace

TEST(DlgLockCheck, TheEntryGivesTheRoleAndAWrongOneStays) {
    struct Case {
        const char* admin;
        const char* user;
        std::vector<const char*> entries;  // tried in order
        int wrong_boxes;
        int role;
    };
    const Case cases[] = {
        {"470319", "258604", {"470319"}, 0, 1},
        {"470319", "258604", {"258604"}, 0, 2},
        {"111111", "111111", {"111111"}, 0, 1},
        {"470319", "258604", {"", "47031", "258604"}, 2, 2},
    };
    for (const Case& c : cases) {
        MessageBoxAnswers boxes;
        DlgLockCheck check;
        check.SetPasswords(c.admin, c.user);
        check.OnInitDialog();
        check.open();
        EXPECT_EQ(check.windowTitle(), "Login");
        auto* entry = check.findChild<QLineEdit*>("entry");
        EXPECT_EQ(entry->echoMode(), QLineEdit::Password);
        for (const char* typed : c.entries) {
            entry->clear();
            QTest::keyClicks(entry, typed);
            QTest::keyClick(entry, Qt::Key_Return);
        }
        EXPECT_EQ(boxes.Texts(), QStringList(c.wrong_boxes, "Password wrong!"));
        EXPECT_FALSE(check.isVisible());
        EXPECT_EQ(check.result(), QDialog::Accepted);
        EXPECT_EQ(check.Role(), c.role);
    }
}

TEST(DlgLockCheck, CancelEndsWithoutARole) {
    DlgLockCheck check;
    check.SetPasswords("470319", "258604");
    check.OnInitDialog();
    check.open();
    QTest::keyClicks(check.findChild<QLineEdit*>("entry"), "470319");
    Click(&check, "cancel");
    EXPECT_EQ(check.result(), QDialog::Rejected);
    EXPECT_EQ(check.Role(), 0);
}

TEST(DlgAdmin, ChangesGoThroughThePromptsAndHoldAfterCancel) {
    MessageBoxAnswers boxes;
    DlgAdmin admin;
    admin.SetPasswords("470319", "258604", 0);
    admin.OnInitDialog();
    admin.open();
    EXPECT_EQ(admin.windowTitle(), "Password Manage");
    auto* prompt = admin.findChild<DlgPassword*>();

    {  // 7 bytes and an empty entry are refused; 6 bytes are taken.
        PromptAnswers answers(prompt, {"470319", "1234567", "", "654321", "654321"});
        Click(&admin, "set_admin_password");
        EXPECT_TRUE(answers.AllUsed());
        EXPECT_EQ(answers.Captions(),
                  QStringList({"Input Admin Password", "Input New Admin Password",
                               "Input New Admin Password", "Input New Admin Password",
                               "confirm New Admin Password"}));
    }
    const QString length = "The password can not more than 6 letters or blank!";
    EXPECT_EQ(boxes.Texts(), QStringList({length, length, "OK"}));
    EXPECT_EQ(admin.AdminPassword(), "654321");

    {  // The user password needs the new admin password; a confirmation that differs fails.
        PromptAnswers answers(prompt, {"654321", "1111", "1112"});
        Click(&admin, "set_user_password");
        EXPECT_EQ(answers.Captions(),
                  QStringList({"Input Admin Password", "Input New Normal User Password",
                               "confirm New Normal User Password"}));
    }
    EXPECT_EQ(boxes.Texts().last(), "Wrong Password");
    EXPECT_EQ(admin.UserPassword(), "258604");

    {  // Cancel at a prompt ends the change silently.
        PromptAnswers answers(prompt, {"654321", std::nullopt});
        Click(&admin, "set_user_password");
        EXPECT_EQ(answers.Captions().size(), 2);
    }
    EXPECT_EQ(boxes.Texts().size(), 4);

    {
        PromptAnswers answers(prompt, {"654321", "2222", "2222"});
        Click(&admin, "set_user_password");
    }
    EXPECT_EQ(admin.UserPassword(), "2222");

    // Cancel keeps the changed passwords and the switch as it was given.
    admin.findChild<QCheckBox*>("use_passwords")->click();
    Click(&admin, "cancel");
    EXPECT_EQ(admin.result(), QDialog::Rejected);
    EXPECT_EQ(admin.AdminPassword(), "654321");
    EXPECT_EQ(admin.UserPassword(), "2222");
    EXPECT_EQ(admin.Flag(), 0);
}

TEST(DlgAdmin, ConfirmTakesTheSwitch) {
    for (int flag : {0, 1}) {
        DlgAdmin admin;
        admin.SetPasswords("470319", "258604", flag);
        admin.OnInitDialog();
        admin.open();
        auto* use_passwords = admin.findChild<QCheckBox*>("use_passwords");
        EXPECT_EQ(use_passwords->isChecked(), flag == 1);
        use_passwords->click();
        Click(&admin, "ok");
        EXPECT_EQ(admin.Flag(), 1 - flag);
    }
}
