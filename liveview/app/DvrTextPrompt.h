#pragma once

#include "liveview/core/store/DvrSettings.h"

class DialogTexts;
class QWidget;

// The device texts typed into a dialog, checked before it closes: false, with the operator
// told why, when one is empty or can not be held by the device store as it stands.
bool DvrTextsTaken(QWidget* owner, const DialogTexts& texts, const _DVR_SETTINGS_& typed,
                   bool with_show_name);
