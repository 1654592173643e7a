#pragma once

#include <string>

// Folder of the running executable, without a trailing slash. Taken from /proc/self/exe,
// never from the current directory, so a program started from anywhere finds its files.
std::string ProgramFolder();

// Parent of a folder path ("/a/b" gives "/a"; "/a" gives "/").
std::string ParentFolder(const std::string& folder);
