#pragma once

#include <ctime>
#include <string>

// Proposed snapshot file name from a local time, e.g. 20240131_235959.bmp; no folder part.
std::string SnapshotName(const std::tm& local_time);
// The same for the present moment in the PC's local time.
std::string SnapshotNameNow();
