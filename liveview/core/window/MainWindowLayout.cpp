#include "liveview/core/window/MainWindowLayout.h"

#include "liveview/core/window/LiveViewIds.h"

namespace {

using namespace live_view_id;

constexpr MainWindowControl kControls[] = {
    {kUp, 888, 63, 30, 25, "up", 3},
    {kEnter, 888, 91, 30, 25, "enter", 3},
    {kLeft, 856, 93, 30, 25, "left", 3},
    {kRight, 919, 93, 30, 25, "right", 3},
    {kDown, 888, 123, 30, 30, "down", 3},
    {kIrisOpen, 812, 190, 45, 25, "i+", 3},
    {kIrisClose, 857, 190, 45, 25, "i-", 3},
    {kFocusNear, 902, 190, 45, 25, "f+", 3},
    {kFocusFar, 947, 190, 45, 25, "f-", 3},
    {kZoomIn, 812, 220, 45, 25, "z+", 3},
    {kZoomOut, 857, 220, 45, 25, "z-", 3},
    {kAuto, 902, 220, 45, 25, "auto", 4, "Skin_Word5"},
    {kCoverPlate, -101, -100, 100, 100, "Hide", 3},
    {kTree, 810, 280, 140, 280},
    {kAdd, 956, 280, 60, 35, "ADD", 4, "Machine_Add"},
    {kDelete, 956, 315, 60, 35, "DELE", 4, "Machine_Del"},
    {kConnect, 956, 390, 60, 35, "connet", 4, "Connect"},
    {kDisconnect, 956, 390, 60, 35, "disconnet", 4, "Disconnect"},
    {kSet, 956, 425, 60, 35, "set", 4, "Base_Set"},
    {kRec, 956, 460, 60, 35, "localrec", 4, "LocalRec"},
    {kStopRec, 956, 460, 60, 35, "localrecstop", 4, "StopPlay"},
    {kStatusLabel, 810, 580, 150, 50},
    {kWindow4, 816, 610, 56, 46, "4LOW", 4},
    {kWindow9, 876, 610, 56, 46, "9LOW", 4},
    {kWindow16, 936, 610, 56, 46, "16LOW", 4},
    {kCapture, 30, 670, 60, 35, "CAPTURE", 4, "Skin_Word1"},
    {kInfo, 90, 670, 60, 35, "disk", 4, "Skin_Word2"},
    {kAudioOn, 150, 670, 60, 35, "OFF", 4, "Skin_Word3"},
    {kAudioOff, 150, 670, 60, 35, "ON", 4, "Skin_Word4", nullptr, false},
    {kAdmin, 210, 670, 60, 35, "ADMIN", 4, "Pass_Word8"},
    {kMap, 270, 670, 60, 35, "map", 4, nullptr, "地图显示", false},
    {kWindow25, 400, 662, 60, 50, "25LOW", 4},
    {kWindow36, 450, 662, 60, 50, "36LOW", 4},
    {kWindow64, 500, 662, 60, 50, "64LOW", 4},
    {kWindow144, 550, 662, 60, 50, "144LOW", 4},
    {kWindow256, 600, 662, 60, 50, "256LOW", 4},
    {kExit, 870, 660, 73, 73, "EXIT", 3, "Panel_Esc"},
    {kMinimise, 920, 15, 24, 24, "Min", 3},
    {kFullWindow, 950, 15, 24, 24, "full", 3},
    {kClose, 980, 15, 24, 24, "close", 3},
    {kGrid, 30, 35, 750, 592},
};

// The template leaves OK, LIVE and STOP where they are; the others get a place though nothing
// ever shows them.
constexpr MainWindowControl kHiddenPlain[] = {
    {kOk, 0, 0, 60, 20, nullptr, 0, nullptr, nullptr, false},
    {kLive, 0, 0, 60, 20, nullptr, 0, nullptr, nullptr, false},
    {kStop, 0, 0, 60, 20, nullptr, 0, nullptr, nullptr, false},
    {kDisk, 956, 495, 60, 35, nullptr, 0, nullptr, nullptr, false},
    {kSpare1021, 947, 220, 45, 25, nullptr, 0, nullptr, nullptr, false},
    {kSpare1022, 50, 700, 40, 30, nullptr, 0, nullptr, nullptr, false},
    {kSpare1023, 100, 700, 40, 30, nullptr, 0, nullptr, nullptr, false},
    {kSpare1024, 150, 700, 40, 30, nullptr, 0, nullptr, nullptr, false},
    {kSpare1029, 200, 700, 40, 30, nullptr, 0, nullptr, nullptr, false},
};

constexpr int kSkinOrder[] = {
    kCoverPlate, kUp,       kDown,       kLeft,      kRight,     kEnter,   kIrisOpen, kIrisClose,
    kFocusNear,  kFocusFar, kZoomIn,     kZoomOut,   kAuto,      kWindow4, kWindow9,  kWindow16,
    kWindow25,   kWindow36, kWindow64,   kWindow144, kWindow256, kExit,    kMinimise, kClose,
    kFullWindow, kConnect,  kDisconnect, kSet,       kRec,       kStopRec, kAdd,      kDelete,
    kAudioOff,   kAudioOn,  kAdmin,      kMap,       kInfo,      kCapture,
};

}  // namespace

std::span<const MainWindowControl> MainWindowControls() { return kControls; }

std::span<const MainWindowControl> HiddenPlainButtons() { return kHiddenPlain; }

const MainWindowControl* FindMainWindowControl(int id) {
    for (const auto table : {MainWindowControls(), HiddenPlainButtons()}) {
        for (const MainWindowControl& control : table) {
            if (control.id == id) return &control;
        }
    }
    return nullptr;
}

std::span<const int> SkinOrder() { return kSkinOrder; }
