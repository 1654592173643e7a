#pragma once

#include "platform/surface/ScreenRect.h"

class CVideoSurface;

// Scales a packed 4:2:2 picture (Y0 U Y1 V, rows of 2 x width bytes, top row first, width
// even) nearest-neighbour into dest (screen coordinates) of the surface. Rows drawn; 0
// when nothing was drawn, -1 for a picture it cannot read (no data, odd or bad size).
// Colours are BT.601 studio range (Bt601Row.h).
int DrawYuy2(CVideoSurface& surface, const ScreenRect& dest_screen, int width, int height,
             const unsigned char* picture);

// The same from the top-left width x height pixels of a 4:2:0 picture's three planes (Y, U, V,
// rows strides[i] bytes apart; chroma at half width and height) in the same colours, pixel for
// pixel as its packed 4:2:2 conversion would be drawn, without that pass. -1 for missing
// planes or a bad size.
int DrawYuv420(CVideoSurface& surface, const ScreenRect& dest_screen, int width, int height,
               const unsigned char* const planes[3], const int strides[3]);
