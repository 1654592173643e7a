#pragma once

#include "ScreenRect.h"

class CVideoSurface;

// Scales a packed 4:2:2 picture (Y0 U Y1 V, rows of 2 x width bytes, top row first, width
// even) nearest-neighbour into dest (screen coordinates) of the surface. Rows drawn; 0
// when nothing was drawn, -1 for a picture it cannot read (no data, odd or bad size).
// Colours are BT.601 studio range in 8-bit fixed point, each channel clamped to 0..255:
//   c = y - 16, d = u - 128, e = v - 128
//   R = (298 c + 409 e + 128) >> 8
//   G = (298 c - 100 d - 208 e + 128) >> 8
//   B = (298 c + 516 d + 128) >> 8
// so Y 16 is black and Y 235 white at neutral chroma (128).
int DrawYuy2(CVideoSurface& surface, const ScreenRect& dest_screen, int width, int height,
             const unsigned char* picture);
