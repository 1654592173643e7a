#pragma once

#include <string>

class QWidget;

// Longest folder path the callers' fields hold.
constexpr std::size_t kMaxFolderPath_bytes = 259;

// Modal folder choice opening at the folder path names. 1 when a folder was chosen (path
// then holds it, UTF-8); 0 when the operator cancels or the chosen path is longer than the
// callers' fields (said in a message box); path is then unchanged.
int BrowseForFolder(QWidget* owner, std::string& path, const std::string& title);
