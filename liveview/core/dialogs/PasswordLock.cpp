#include "liveview/core/dialogs/PasswordLock.h"

#include <utility>

#include "liveview/core/store/UssFields.h"
#include "platform/text/CodePageLength.h"

int LockRoleOf(std::string_view entry, std::string_view admin_password,
               std::string_view user_password) {
    if (entry == admin_password) return kRoleAdmin;
    if (entry == user_password) return kRoleUser;
    return kRoleNone;
}

CPasswordChange::CPasswordChange(Target target, std::string admin_password)
    : target_(target), admin_password_(std::move(admin_password)) {}

const char* CPasswordChange::PromptOf(Stage stage) const {
    const bool admin = target_ == Target::kAdmin;
    switch (stage) {
        case Stage::kAdminPassword:
            return "Pass_Word1";
        case Stage::kNewPassword:
            return admin ? "Pass_Word2" : "Pass_Word4";
        case Stage::kConfirm:
            return admin ? "Pass_Word3" : "Pass_Word5";
        case Stage::kOver:
        case Stage::kChanged:
            break;
    }
    return nullptr;
}

CPasswordChange::Step CPasswordChange::First() const { return {Message::kNone, PromptOf(stage_)}; }

CPasswordChange::Step CPasswordChange::Enter(const std::string& entry) {
    switch (stage_) {
        case Stage::kAdminPassword:
            if (entry != admin_password_) {
                stage_ = Stage::kOver;
                return {Message::kWrongPassword, nullptr};
            }
            stage_ = Stage::kNewPassword;
            return {Message::kNone, PromptOf(stage_)};
        case Stage::kNewPassword: {
            if (entry.empty() || CodePageLength(entry) > kNewPasswordMax_bytes)
                return {Message::kBadLength, PromptOf(stage_)};
            const UssField field =
                target_ == Target::kAdmin ? UssField::kAdminPassword : UssField::kUserPassword;
            if (!FitsUssField(field, entry)) return {Message::kUnstorable, PromptOf(stage_)};
            new_password_ = entry;
            stage_ = Stage::kConfirm;
            return {Message::kNone, PromptOf(stage_)};
        }
        case Stage::kConfirm:
            if (entry != new_password_) {
                stage_ = Stage::kOver;
                return {Message::kWrongPassword, nullptr};
            }
            stage_ = Stage::kChanged;
            return {Message::kChanged, nullptr};
        case Stage::kOver:
        case Stage::kChanged:
            break;
    }
    return {};
}
