#pragma once

// Control and timer ids of the live view's main window where they are part of a rule: the
// button tables of the timers, the message texts' owners and the timer dispatcher.
namespace live_view_id {

// Pan/tilt/zoom pad and its cover plate.
constexpr int kUp = 1000;
constexpr int kLeft = 1001;
constexpr int kRight = 1002;
constexpr int kDown = 1003;
constexpr int kEnter = 1004;
constexpr int kIrisOpen = 1005;
constexpr int kIrisClose = 1006;
constexpr int kFocusNear = 1007;
constexpr int kFocusFar = 1008;
constexpr int kZoomIn = 1009;
constexpr int kZoomOut = 1010;
constexpr int kAuto = 1011;
constexpr int kCoverPlate = 1143;

// Device tree and device buttons.
constexpr int kTree = 1012;
constexpr int kConnect = 1013;
constexpr int kDisconnect = 1014;
constexpr int kLive = 1015;
constexpr int kStop = 1016;
constexpr int kSet = 1017;
constexpr int kDisk = 1018;
constexpr int kRec = 1019;
constexpr int kStopRec = 1020;
constexpr int kAdd = 1028;
constexpr int kDelete = 1075;
constexpr int kAdmin = 1080;

// Video window, label and tool row.
constexpr int kGrid = 1030;
constexpr int kStatusLabel = 1076;
constexpr int kWindow4 = 1025;
constexpr int kWindow9 = 1026;
constexpr int kWindow16 = 1027;
constexpr int kWindow25 = 1130;
constexpr int kWindow36 = 1128;
constexpr int kWindow64 = 1129;
constexpr int kWindow144 = 1131;
constexpr int kWindow256 = 1133;
constexpr int kCapture = 1081;
constexpr int kInfo = 1085;
constexpr int kAudioOn = 1079;
constexpr int kAudioOff = 1078;
constexpr int kMap = 1132;

// Window buttons.
constexpr int kOk = 1;
constexpr int kExit = 2;
constexpr int kMinimise = 1031;
constexpr int kFullWindow = 1097;
constexpr int kClose = 1032;

// Plain buttons of the template that stay hidden.
constexpr int kSpare1021 = 1021;
constexpr int kSpare1022 = 1022;
constexpr int kSpare1023 = 1023;
constexpr int kSpare1024 = 1024;
constexpr int kSpare1029 = 1029;

}  // namespace live_view_id

// Timer ids of the main window.
namespace live_view_timer {

constexpr int kButtonStates = 10;
constexpr int kGridRect = 11;
constexpr int kLostLink = 12;
constexpr int kKeepAwake = 13;
constexpr int kLockButtons = 14;
constexpr int kPadGuard = 15;
constexpr int kDiskInfo = 16;
constexpr int kHoverTitle = 26;
constexpr int kDragEnd = 30;
constexpr int kRepaint = 50;
// One connect-thread watch per device slot: kWatchBase + slot, clear of the fixed ids.
constexpr int kWatchBase = 100;

}  // namespace live_view_timer
