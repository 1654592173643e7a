#include "liveview/core/dialogs/PasswordLock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(PasswordLock, TheEntryDecidesTheRoleAdminFirst) {
    struct Case {
        const char* entry;
        const char* admin;
        const char* user;
        int role;
    };
    const Case cases[] = {
        {"470319", "470319", "258604", kRoleAdmin},
        {"258604", "470319", "258604", kRoleUser},
        {"111111", "111111", "111111", kRoleAdmin},
        {"47031", "470319", "258604", kRoleNone},
        {"ABC", "abc", "x", kRoleNone},
        {"", "470319", "258604", kRoleNone},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LockRoleOf(c.entry, c.admin, c.user), c.role) << c.entry;
}

TEST(PasswordLock, ChangeGoesThroughItsPromptsAndMessages) {
    using Message = CPasswordChange::Message;
    using Target = CPasswordChange::Target;
    struct Seen {
        Message message;
        const char* prompt;  // "" for the end
    };
    struct Case {
        Target target;
        std::vector<std::string> entries;
        std::vector<Seen> seen;    // after each entry
        const char* new_password;  // nullptr: unchanged
    };
    const std::string seven = "1234567";
    const std::string six_bytes = "\u5bc6\u7801";  // two three-byte characters
    // Chinese characters count two each, as in the code page: three fit, four do not.
    const std::string three_chinese = "\u5bc6\u7801\u9501";
    const std::string four_chinese = three_chinese + "\u9501";
    const Case cases[] = {
        {Target::kUser,
         {"470319", four_chinese, three_chinese, three_chinese},
         {{Message::kNone, "Pass_Word4"},
          {Message::kBadLength, "Pass_Word4"},
          {Message::kNone, "Pass_Word5"},
          {Message::kChanged, ""}},
         three_chinese.c_str()},
        {Target::kAdmin,
         {"470319", "123456", "123456"},
         {{Message::kNone, "Pass_Word2"}, {Message::kNone, "Pass_Word3"}, {Message::kChanged, ""}},
         "123456"},
        {Target::kAdmin,
         {"470319", seven, "", six_bytes, six_bytes},
         {{Message::kNone, "Pass_Word2"},
          {Message::kBadLength, "Pass_Word2"},
          {Message::kBadLength, "Pass_Word2"},
          {Message::kNone, "Pass_Word3"},
          {Message::kChanged, ""}},
         six_bytes.c_str()},
        {Target::kAdmin, {"470318"}, {{Message::kWrongPassword, ""}}, nullptr},
        {Target::kAdmin,
         {"470319", "abc", "abd"},
         {{Message::kNone, "Pass_Word2"},
          {Message::kNone, "Pass_Word3"},
          {Message::kWrongPassword, ""}},
         nullptr},
        {Target::kUser,
         {"470319", "a\bc", "777", "777"},
         {{Message::kNone, "Pass_Word4"},
          {Message::kUnstorable, "Pass_Word4"},
          {Message::kNone, "Pass_Word5"},
          {Message::kChanged, ""}},
         "777"},
        // The user password also needs the admin password.
        {Target::kUser, {"258604"}, {{Message::kWrongPassword, ""}}, nullptr},
    };
    for (const Case& c : cases) {
        CPasswordChange change(c.target, "470319");
        EXPECT_STREQ(change.First().prompt_key, "Pass_Word1");
        ASSERT_EQ(c.entries.size(), c.seen.size());
        for (std::size_t i = 0; i < c.entries.size(); ++i) {
            const CPasswordChange::Step step = change.Enter(c.entries[i]);
            EXPECT_EQ(step.message, c.seen[i].message) << c.entries[i];
            EXPECT_STREQ(step.prompt_key == nullptr ? "" : step.prompt_key, c.seen[i].prompt)
                << c.entries[i];
        }
        EXPECT_EQ(change.Changed(), c.new_password != nullptr);
        if (c.new_password != nullptr) {
            EXPECT_EQ(change.NewPassword(), c.new_password);
        }
    }
}
