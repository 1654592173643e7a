#include "playback/core/backup/BackupDialogRules.h"

#include <cstdio>

namespace backup_dialog {

std::string ChannelLine(const std::string& caption, const std::array<int, 4>& cameras) {
    std::string line = caption;
    for (int row = 0; row < 4; ++row) {
        if (row > 0) line += ' ';
        if (cameras[row] > 0) {
            char text[16];
            std::snprintf(text, sizeof text, "Cam%02d", cameras[row]);
            line += text;
        }
    }
    return line;
}

std::optional<int> ProgressPosition(int t, int start, int end) {
    if (t < start) return std::nullopt;
    return static_cast<int>(static_cast<double>(t - start) / (end - start) * kProgressRange);
}

}  // namespace backup_dialog
