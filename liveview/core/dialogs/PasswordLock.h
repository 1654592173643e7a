#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The live view's own password lock: at start-up the admin password gives the admin role, the
// user password the user role, who may watch but not change settings, record or manage devices
// and passwords.
inline constexpr int kRoleNone = 0;
inline constexpr int kRoleAdmin = 1;
inline constexpr int kRoleUser = 2;

// Counted as the code page does: a Chinese character takes two (see CodePageLength).
inline constexpr std::size_t kNewPasswordMax_bytes = 6;

// The role an entry at the start-up check gives, byte for byte and case-sensitive; the admin
// password is tried first, so with both alike the entry gives the admin role.
int LockRoleOf(std::string_view entry, std::string_view admin_password,
               std::string_view user_password);

// The steps of a password change from the admin dialog: the admin password, the new password
// (1 to 6 bytes) until one is acceptable, and the new password once more.
class CPasswordChange {
public:
    enum class Target { kAdmin, kUser };
    enum class Message {
        kNone,
        kWrongPassword,  // the admin password or the confirmation differs
        kBadLength,      // the new password is empty or longer than 6 bytes
        kUnstorable,     // it holds a character the device store can not keep
        kChanged,
    };
    struct Step {
        Message message = Message::kNone;  // shown before the next prompt
        const char* prompt_key = nullptr;  // language key of the next prompt; none: over
    };

    CPasswordChange(Target target, std::string admin_password);

    Step First() const;
    // The entry typed at the current prompt. Cancel at a prompt ends the change unchanged.
    Step Enter(const std::string& entry);

    bool Changed() const { return stage_ == Stage::kChanged; }
    // The new password once Changed().
    const std::string& NewPassword() const { return new_password_; }

private:
    enum class Stage { kAdminPassword, kNewPassword, kConfirm, kOver, kChanged };

    const char* PromptOf(Stage stage) const;

    Target target_;
    std::string admin_password_;
    std::string new_password_;
    Stage stage_ = Stage::kAdminPassword;
};
