#pragma once

#include <array>
#include <optional>
#include <string>

// The backup dialog's rules without its window.
namespace backup_dialog {

// Full position of the progress bar.
inline constexpr int kProgressRange = 360;

// "BackUp Channel:Cam02 Cam05  ": the caption, then "Cam%0.2d" of each row's camera, or
// nothing for a row without one, the four separated by blanks.
std::string ChannelLine(const std::string& caption, const std::array<int, 4>& cameras);

// Where the bar stands with the play time at second t of a backup from start to end (start
// before end): the share of the span played, of kProgressRange; nothing before the start.
std::optional<int> ProgressPosition(int t, int start, int end);

}  // namespace backup_dialog
