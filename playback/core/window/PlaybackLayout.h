#pragma once

#include <array>

// Where the playback window's controls sit (client pixels of the 1024 x 738 window) and how
// its skinned buttons are dressed.

struct ControlRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Control ids that the window's rules name.
enum PlaybackControlId : int {
    kIdExit = 2,
    kIdPlay = 1000,
    kIdBackup = 1001,
    kIdVideoWindow = 1002,
    kIdMinimize = 1003,
    kIdClose = 1004,
    kIdTimeline = 1005,
    kIdCameraRow0 = 1006,  // rows 1 to 3 follow
    kIdCalendar = 1010,
    kIdHostLabel = 1011,
    kIdRangeLabel = 1012,
    kIdCaptionLabel = 1013,
    kIdStop = 1017,
    kIdLogin = 1018,
    kIdLogout = 1019,
    kIdHiddenSlider = 1020,
    kIdPlaySlider = 1022,
    kIdHiddenStatic = 1023,
    kIdTime = 1031,
    kIdTimePicker = 1032,
    kIdAudioOff = 1036,  // caption "OFF", ON image: shown while audio is on
    kIdAudioOn = 1037,   // caption "ON", OFF image: shown while audio is off
    kIdSpeed = 1038,
    kIdNormalSpeed = 1039,
    kIdSnap = 1040,
    kIdSpareSlider = 1043,
    kIdTrackbar = 1047,
};

struct SkinButtonPlace {
    int id;
    ControlRect rect;
    const char* stem;           // skin3/<stem><n>.bmp
    const char* tooltip_key;    // nullptr: no tooltip
    bool shown;                 // at start
    bool normal_when_disabled;  // no image of its own for the disabled state
};

inline constexpr ControlRect kWindowRect{0, 0, 1024, 738};
inline constexpr ControlRect kVideoWindowRect{21, 20, 727, 606};
inline constexpr ControlRect kTimelineRect{21, 660, 726, 68};
inline constexpr ControlRect kPlaySliderRect{55, 625, 703, 30};
inline constexpr ControlRect kHiddenSliderRect{-12, -35, 25, 30};
inline constexpr ControlRect kHiddenStaticRect{-20, -20, 15, 5};
inline constexpr ControlRect kTimePickerRect{768, 599, 78, 23};
inline constexpr ControlRect kHostLabelRect{820, 138, 150, 50};
inline constexpr ControlRect kRangeLabelRect{798, 200, 150, 50};
inline constexpr ControlRect kCaptionLabelRect{853, 169, 168, 16};

// The camera boxes of timeline rows 0 to 3: 50 wide, their lists 120 high.
inline constexpr std::array<int, 4> kCameraBoxX{780, 833, 886, 939};
inline constexpr int kCameraBoxY = 300;
inline constexpr int kCameraBoxWidth = 50;
inline constexpr int kCameraBoxListHeight = 120;

// The calendar at its smallest size, centred in the 274 pixels right of x 750.
inline constexpr int kCalendarY = 350;
constexpr int CalendarX(int calendar_width) { return 750 + (274 - calendar_width) / 2; }

inline constexpr std::array<SkinButtonPlace, 14> kSkinButtons{{
    {kIdPlay, {760, 636, 60, 40}, "PLAY", "File_Play", true, false},
    {kIdStop, {760, 636, 60, 40}, "play-stop", "StopPlay", false, false},
    {kIdBackup, {894, 520, 56, 36}, "BACKU", "Menu_Backup", true, false},
    {kIdAudioOn, {760, 520, 60, 40}, "OFF", "Skin_Word3", true, false},
    {kIdAudioOff, {760, 520, 60, 40}, "ON", "Skin_Word4", false, false},
    {kIdSpeed, {760, 678, 60, 40}, "SPEED_LOW", "Start_Word5", true, false},
    {kIdNormalSpeed, {760, 678, 60, 40}, "SPEED_UP", "Start_Word6", false, false},
    {kIdSnap, {826, 520, 60, 40}, "CAPTURE", "Skin_Word1", true, false},
    {kIdTime, {25, 710, 46, 30}, "TIME", "Start_Word7", false, false},
    {kIdExit, {930, 660, 73, 73}, "EXIT", "TextExit", true, true},
    {kIdLogin, {856, 50, 65, 51}, "LOGIN", "Login_word6", true, true},
    {kIdLogout, {856, 50, 65, 51}, "LOGOUT", "Start_Word8", true, true},
    {kIdMinimize, {950, 15, 24, 24}, "Min", nullptr, true, true},
    {kIdClose, {980, 15, 24, 24}, "close", nullptr, true, true},
}};
