#pragma once

#include <string>

inline constexpr char kRemoteRoot[] = "/mnt/mtd/";
inline constexpr char kUpdateMarker[] = "update/";

// Index of the first "update/" in a local path (letter case counts), or -1.
int FindUpdateDir(const std::string& path);

// Where a file of the update tree lands on the recorder: below /mnt/mtd/ at the part of its
// local path after the first "update/" (so /home/op/update/bin/app becomes /mnt/mtd/bin/app).
// A path without that marker lands at its place relative to the uploaded folder.
std::string MakeRemotePath(const std::string& local_path, const std::string& folder);
