#pragma once

#include <QImage>
#include <vector>

namespace skinart {

// A program's window icon, the one its About box shows too.
struct ProgramIconArt {
    const char* program;  // the icon is res/<program>.png
    QImage image;
};

// Start, Oculan, Rewinda and Firmora: each program shows the picture of its launcher button on
// a round face; the launcher shows the suite's mark.
std::vector<ProgramIconArt> PaintProgramIcons();

}  // namespace skinart
