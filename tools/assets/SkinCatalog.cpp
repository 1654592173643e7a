#include "tools/assets/SkinCatalog.h"

#include "tools/assets/Backgrounds.h"
#include "tools/assets/Glyphs.h"

namespace skinart {
namespace {

using namespace glyph;

std::vector<SkinButtonArt> LiveViewButtons() {
    return {
        {"up", {30, 25}, 3, ArrowUp},
        {"enter", {30, 25}, 3, Centre},
        {"left", {30, 25}, 3, ArrowLeft},
        {"right", {30, 25}, 3, ArrowRight},
        {"down", {30, 30}, 3, ArrowDown},
        {"i+", {45, 25}, 3, IrisOpen},
        {"i-", {45, 25}, 3, IrisClose},
        {"f+", {45, 25}, 3, FocusNear},
        {"f-", {45, 25}, 3, FocusFar},
        {"z+", {45, 25}, 3, ZoomIn},
        {"z-", {45, 25}, 3, ZoomOut},
        {"auto", {45, 25}, 4, AutoScan},
        {"Hide", {100, 100}, 3, PadLocked, true},
        {"ADD", {60, 35}, 4, AddDevice},
        {"DELE", {60, 35}, 4, DeleteDevice},
        {"connet", {60, 35}, 4, Connect},
        {"disconnet", {60, 35}, 4, Disconnect},
        {"set", {60, 35}, 4, Settings},
        {"localrec", {60, 35}, 4, Record},
        {"localrecstop", {60, 35}, 4, RecordStop},
        {"4LOW", {56, 46}, 4, Layout<2>},
        {"9LOW", {56, 46}, 4, Layout<3>},
        {"16LOW", {56, 46}, 4, Layout<4>},
        {"CAPTURE", {60, 35}, 4, Capture},
        {"disk", {60, 35}, 4, Disk},
        {"OFF", {60, 35}, 4, AudioOff},
        {"ON", {60, 35}, 4, AudioOn},
        {"ADMIN", {60, 35}, 4, Admin},
        {"map", {60, 35}, 4, MapPin},
        {"25LOW", {60, 50}, 4, Layout<5>},
        {"36LOW", {60, 50}, 4, Layout<6>},
        {"64LOW", {60, 50}, 4, Layout<8>},
        {"144LOW", {60, 50}, 4, Layout<12>},
        {"256LOW", {60, 50}, 4, Layout<16>},
        {"EXIT", {73, 73}, 3, Power},
        {"Min", {24, 24}, 3, Minimise},
        {"full", {24, 24}, 3, FullWindow},
        {"close", {24, 24}, 3, Close},
    };
}

std::vector<SkinButtonArt> PlaybackButtons() {
    return {
        {"PLAY", {60, 40}, 4, Play},           {"play-stop", {60, 40}, 4, Stop},
        {"BACKU", {56, 36}, 4, Backup},        {"OFF", {60, 40}, 4, AudioOff},
        {"ON", {60, 40}, 4, AudioOn},          {"SPEED_LOW", {60, 40}, 4, FastPlay},
        {"SPEED_UP", {60, 40}, 4, NormalPlay}, {"CAPTURE", {60, 40}, 4, Capture},
        {"TIME", {46, 30}, 4, Clock},          {"EXIT", {73, 73}, 3, Power},
        {"LOGIN", {65, 51}, 3, Login},         {"LOGOUT", {65, 51}, 3, Logout},
        {"Min", {24, 24}, 3, Minimise},        {"close", {24, 24}, 3, Close},
    };
}

std::vector<SkinButtonArt> LauncherButtons() {
    return {
        {"FILEPLAY", {63, 82}, 3, FilePlayer},
        {"LOCAL VIEW", {63, 82}, 3, LiveView},
        {"NETPLAY", {63, 82}, 3, RemotePlayback},
        {"TOVRA", {63, 82}, 3, UpdateTool},
        {"MIN", {25, 25}, 3, Minimise},
        {"CLOSE", {25, 25}, 3, Close},
        {"botton", {16, 16}, 3, Dot},
    };
}

}  // namespace

QRectF SkinButtonArt::Face() const {
    return drawn_without_offset ? QRectF(QPointF(0, 0), size_px) : ShownEllipse(size_px);
}

const std::vector<SkinFolderArt>& SkinFolders() {
    static const std::vector<SkinFolderArt> kFolders = {
        {"skin1", PaintLiveViewBackground, LiveViewButtons()},
        {"skin3", PaintPlaybackBackground, PlaybackButtons()},
        {"skin4", PaintLauncherBackground, LauncherButtons()},
    };
    return kFolders;
}

}  // namespace skinart
