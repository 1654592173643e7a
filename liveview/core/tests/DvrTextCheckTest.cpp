#include "liveview/core/dialogs/DvrTextCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace {

_DVR_SETTINGS_ Typed(std::string address, std::string port, std::string user, std::string password,
                     std::string show_name) {
    _DVR_SETTINGS_ settings;
    settings.address = std::move(address);
    settings.port_text = std::move(port);
    settings.user = std::move(user);
    settings.password = std::move(password);
    settings.show_name = std::move(show_name);
    return settings;
}

}  // namespace

TEST(DvrTextCheck, EmptyTextsComeFirstThenTextsTheStoreCanNotHold) {
    const std::string address49(49, 'a');
    struct Case {
        _DVR_SETTINGS_ typed;
        bool with_show_name;
        DvrTextVerdict verdict;
    };
    const Case cases[] = {
        {Typed("10.0.0.1:6802", "6802", "USER01", "pw", ""), false, {}},
        {Typed("10.0.0.1:6802", "6802", "USER01", "pw", ""),
         true,
         {DvrTextProblem::kEmpty, UssField::kShowName}},
        {Typed("10.0.0.1:6802", "6802", "USER01", "", "x"),
         false,
         {DvrTextProblem::kEmpty, UssField::kPassword}},
        // An empty field is named even when an earlier one is too long.
        {Typed(address49 + "b", "6802", "", "pw", "x"),
         false,
         {DvrTextProblem::kEmpty, UssField::kUser}},
        {Typed(address49, "123456789", "ABCDEFGHI", "123456789", std::string(49, 'n')), true, {}},
        {Typed(address49 + "b", "6802", "U", "pw", "x"),
         false,
         {DvrTextProblem::kUnfit, UssField::kAddress}},
        {Typed("h:1", "1234567890", "U", "pw", "x"),
         false,
         {DvrTextProblem::kUnfit, UssField::kPortText}},
        {Typed("h:1", "1", "ABCDEFGHIJ", "pw", "x"),
         false,
         {DvrTextProblem::kUnfit, UssField::kUser}},
        {Typed("h:1", "1", "U", "pass\tword", "x"),
         false,
         {DvrTextProblem::kUnfit, UssField::kPassword}},
        // Three-byte characters: 4 of them are 12 bytes, more than the password's 9.
        {Typed("h:1", "1", "U", "\u5bc6\u7801\u5bc6\u7801", "x"),
         false,
         {DvrTextProblem::kUnfit, UssField::kPassword}},
        {Typed("h:1", "1", "U", "p", std::string(50, 'n')),
         true,
         {DvrTextProblem::kUnfit, UssField::kShowName}},
        {Typed("h:1", "1", "U", "p", std::string(50, 'n')), false, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckDvrTexts(c.typed, c.with_show_name), c.verdict)
            << c.typed.address << " / " << c.typed.password << " / " << c.typed.show_name;
    }
}

TEST(DvrTextCheck, MessagesSayWhatIsWrongWithTheText) {
    EXPECT_EQ(UnfitTextMessage(UssField::kAddress, std::string(60, 'a')),
              "The server address is too long: it can hold at most 49 bytes, and 60 were typed.");
    EXPECT_EQ(UnfitTextMessage(UssField::kUser, "A\bB"),
              "The user name holds a control character that can not be stored. Type it again "
              "without it.");
}

TEST(DvrTextCheck, UserNamesAreUpperCasedByteForByte) {
    EXPECT_EQ(UpperCaseUser("user01"), "USER01");
    EXPECT_EQ(UpperCaseUser("Ab-z_9"), "AB-Z_9");
    // Letters outside ASCII keep their bytes, so the length in bytes holds.
    EXPECT_EQ(UpperCaseUser("\u00e9t\u00e9"), "\u00e9T\u00e9");
}
