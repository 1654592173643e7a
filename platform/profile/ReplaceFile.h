#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

// Writes bytes to a new file beside path, flushes it to disk and renames it over path, so
// path holds either the old content or all of the new, never a part. An existing file keeps
// its permissions; a new one gets new_file_mode. False (and path untouched) on any failure.
bool ReplaceFile(const std::string& path, std::string_view bytes, mode_t new_file_mode = 0600);
