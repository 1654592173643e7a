#pragma once

#include <QImage>
#include <string>

// A bitmap resource of the program: res/bitmap<id>.bmp below its folder; null when missing.
QImage LoadBitmapResource(const std::string& program_folder, int resource_id);
