#pragma once

// Format code of a frame: picture standard x 3 + picture size code (both from the frame
// header). Sets the picture size and returns true; a negative code is no format.
bool FormatPictureSize(int format_code, int& width, int& height);
