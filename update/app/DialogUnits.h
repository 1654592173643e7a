#pragma once

#include <QRect>

#include "common/ui/core/DialogUnits.h"

// The update tool's templates are in units of the dialog font's average character of 6 x 13
// pixels.
inline constexpr DialogBaseUnits kToolDialogBase{6, 13};

inline QRect DialogUnitRect(int x, int y, int width, int height) {
    return {DialogUnitsX_px(x, kToolDialogBase), DialogUnitsY_px(y, kToolDialogBase),
            DialogUnitsX_px(width, kToolDialogBase), DialogUnitsY_px(height, kToolDialogBase)};
}
