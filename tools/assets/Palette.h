#pragma once

#include <QColor>

// One palette for every window of the suite: a dark neutral ground that stays easy on the eyes
// through a long watch, one blue accent, and two signal colours that carry meaning (recording,
// alarm). The blue is taken from the label and grid colours the windows set, so the art and
// the controls that draw themselves agree.
namespace skinart {

constexpr QColor kGroundTop{35, 38, 43};
constexpr QColor kGroundBottom{22, 24, 28};
constexpr QColor kPanel{30, 33, 38};
constexpr QColor kPanelEdge{54, 60, 68};
constexpr QColor kPanelShade{14, 15, 18};
constexpr QColor kWell{12, 13, 15};

constexpr QColor kAccent{78, 156, 226};
constexpr QColor kAccentDeep{38, 86, 132};
constexpr QColor kAccentDark{26, 58, 92};

constexpr QColor kFaceTop{56, 62, 71};
constexpr QColor kFaceBottom{36, 40, 46};
constexpr QColor kFaceHoverTop{66, 74, 85};
constexpr QColor kFaceHoverBottom{42, 47, 54};
constexpr QColor kFaceDisabled{33, 36, 41};
constexpr QColor kRim{76, 84, 95};
constexpr QColor kRimDisabled{46, 50, 56};

constexpr QColor kInk{222, 228, 234};
constexpr QColor kInkBright{250, 252, 254};
constexpr QColor kInkDisabled{88, 94, 102};

constexpr QColor kRecord{226, 70, 62};
constexpr QColor kLive{76, 196, 110};
constexpr QColor kStar{240, 190, 56};

}  // namespace skinart
