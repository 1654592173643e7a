#include "update/app/DlgLogin.h"
#include "update/app/FirmoraDlg.h"
#include "update/app/tests/FirmoraFixture.h"
#include "update/core/ToolText.h"

namespace {

constexpr int kWait_ms = 10000;

class FirmoraDlgTest : public FirmoraFixture {
protected:
    void SetUp() override {
        StartRecorder(1016);
        window_ = std::make_unique<CFirmoraDlg>(Folder());
        window_->OnInitDialog();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    void TearDown() override {
        window_.reset();
        FirmoraFixture::TearDown();
    }

    // Connect, with the log-in dialog answered with these entries.
    void Connect(const std::string& server, const char* user, const char* password) {
        WhenModal([=](QWidget* login) {
            Field(login, "server")->setText(QString::fromStdString(server));
            Field(login, "user")->setText(QString::fromLatin1(user));
            Field(login, "password")->setText(QString::fromLatin1(password));
            Click(login, "ok");
        });
        Click(window_.get(), "connect");
    }
    bool Enabled(const char* name) const {
        return window_->findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled();
    }
    int LinkState() { return window_->Connection().GetMachineInfe().nLinkState; }

    std::unique_ptr<CFirmoraDlg> window_;
};

}  // namespace

TEST_F(FirmoraDlgTest, OnlyTheSuperUserStaysLoggedIn) {
    const struct {
        const char* holder;  // logged in elsewhere meanwhile
        std::string server;
        const char* user;
        const char* password;
        QStringList messages;
    } cases[] = {
        {"", Server(), "ADMIN", "wrong", {kLoginErrorText}},
        {"", "127.0.0.1:1", "ADMIN", "admin", {"Connect error!"}},  // nobody there
        {"SUPER2", Server(), "ADMIN", "admin", {QString::fromUtf8(kSuperUserBusyText)}},
        {"USER02", Server(), "ADMIN", "admin", {kTooMuchUserText}},
        {"", Server(), "user02", "user", {kUseSuperUserText}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.user + std::string("@") + c.server);
        const std::string holder = c.holder;
        if (!holder.empty()) {
            LogIn(c.holder, holder == "SUPER2" ? "super" : "user");
        }
        const std::size_t before = boxes_.Requests().size();
        Connect(c.server, c.user, c.password);
        EXPECT_EQ(boxes_.Texts().mid(static_cast<qsizetype>(before)), c.messages);
        EXPECT_EQ(LinkState(), kLinkIdle);
        net_.DisConnect();
        EXPECT_TRUE(QTest::qWaitFor([&] { return emulator_.LoggedInUsers(0).empty(); }, kWait_ms));
    }

    // A user name typed in lower case goes out in upper case.
    Connect(Server(), "admin", "admin");
    EXPECT_EQ(LinkState(), kLinkLoggedIn);
    EXPECT_EQ(window_->Login().User(), "ADMIN");
    EXPECT_EQ(emulator_.LoggedInUsers(0), std::vector<std::string>{"ADMIN"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Enabled("connect"); }, kWait_ms));
    EXPECT_TRUE(Enabled("disconnect") && Enabled("channel_title"));

    Click(window_.get(), "disconnect");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Enabled("connect"); }, kWait_ms));
    EXPECT_FALSE(Enabled("disconnect") || Enabled("channel_title"));

    // A lost link is reset by the poll, and the buttons follow.
    Connect(Server(), "ADMIN", "admin");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Enabled("connect"); }, kWait_ms));
    emulator_.InjectFault(0, Fault::kDropLink);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Enabled("connect"); }, kWait_ms));
    EXPECT_EQ(LinkState(), kLinkIdle);
}

TEST_F(FirmoraDlgTest, LogInDialogWantsAllThreeFields) {
    for (int opening = 0; opening < 2; ++opening) {
        WhenModal([&](QWidget* login) {
            EXPECT_EQ(Field(login, "server")->text(), DlgLogin::kPresetServer);
            EXPECT_EQ(Field(login, "user")->text(), DlgLogin::kPresetUser);
            EXPECT_EQ(Field(login, "password")->text(), "");
            EXPECT_EQ(login->windowTitle(), "Login");
            Field(login, "server")->setText("127.0.0.1:1");
            Click(login, "ok");  // no password
            EXPECT_TRUE(login->isVisible());
            Click(login, "cancel");
        });
        Click(window_.get(), "connect");
    }
    EXPECT_EQ(boxes_.Texts(), QStringList(2, "The password can not more than 6 letters or blank!"));
}

TEST_F(FirmoraDlgTest, EscapeStaysAndExitStopsTheLink) {
    EXPECT_EQ(window_->windowTitle(), "Update Tool");
    EXPECT_TRUE(window_->findChild<QPushButton*>("soft_update")->isHidden());
    Connect(Server(), "ADMIN", "admin");
    ASSERT_EQ(LinkState(), kLinkLoggedIn);
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    EXPECT_TRUE(window_->isVisible());
    Click(window_.get(), "exit");
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(LinkState(), kLinkIdle);
    EXPECT_TRUE(QTest::qWaitFor([&] { return emulator_.LoggedInUsers(0).empty(); }, kWait_ms));
}
