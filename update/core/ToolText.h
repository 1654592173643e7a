#pragma once

// The update tool's own English messages, which do not follow the language files.
inline constexpr char kNetInitErrorText[] = "Net Init Error!";
inline constexpr char kTooMuchUserText[] = "Too Much User!";
inline constexpr char kSuperUserBusyText[] =
    "Super user is handled in course of\u00a1\u00ea?Wait a moment linking up please..";
inline constexpr char kLoginErrorText[] = "Username or password error!";
inline constexpr char kUseSuperUserText[] = "Use super user login,please..";
inline constexpr char kSelectDirectoryText[] = "Select Directory:";
inline constexpr char kSuccessText[] = "Success!";
