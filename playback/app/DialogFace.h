#pragma once

#include <QFont>

// The face the playback windows' pixel layouts were made for: 12 pixels high with Latin
// letters 6 pixels wide, so captions such as "PASSWORD:" fit their 60-pixel places.
QFont DialogFace();
