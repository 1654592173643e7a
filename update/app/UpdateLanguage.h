#pragma once

// Members of the update tool's language table (155 keys) that its windows show.
inline constexpr int kConnectText = 0;         // Connect
inline constexpr int kDisconnectText = 3;      // Disconnect
inline constexpr int kExitText = 20;           // TextExit
inline constexpr int kBlankLoginText = 49;     // word13
inline constexpr int kBrowseText = 57;         // Set_word7
inline constexpr int kCancelText = 58;         // Set_word8
inline constexpr int kConfirmText = 59;        // Set_word9
inline constexpr int kUserLabelText = 68;      // Login_word1
inline constexpr int kPasswordLabelText = 69;  // Login_word2
inline constexpr int kServerLabelText = 70;    // Login_word3
inline constexpr int kLoginTitleText = 73;     // Login_word6

inline constexpr int kLeftOutText = 152;      // Update_LeftOut
inline constexpr int kEndNotRunText = 153;    // Update_EndNotRun
inline constexpr int kConnectErrorText = 47;  // word11

// Update_Word1 .. Update_Word18.
constexpr int UpdateWordText(int n) { return 133 + n; }
inline constexpr int kLinkLostText = 44;     // word8
inline constexpr int kUpdateWaitText = 154;  // Update_Wait
