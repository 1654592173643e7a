#pragma once

#include <QImage>

namespace skinart {

// Window backgrounds, each the size of its window, with recesses under the controls the
// window places on it.
QImage PaintLiveViewBackground();
QImage PaintPlaybackBackground();
QImage PaintLauncherBackground();

}  // namespace skinart
