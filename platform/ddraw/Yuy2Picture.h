#pragma once

#include "platform/surface/ScreenRect.h"

class CVideoSurface;

// Scales a packed 4:2:2 picture (Y0 U Y1 V, rows of 2 x width bytes, top row first, width
// even) nearest-neighbour into dest (screen coordinates) of the surface. Rows drawn; 0
// when nothing was drawn, -1 for a picture it cannot read (no data, odd or bad size).
// Colours are BT.601 studio range (Bt601Row.h).
int DrawYuy2(CVideoSurface& surface, const ScreenRect& dest_screen, int width, int height,
             const unsigned char* picture);
