#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Writes bytes to a temporary file beside path, flushes it to disk and renames it over path, so
// path holds either the old content or all of the new, never a part. A symbolic link is written
// through to its target. An existing file keeps its permissions; a new one gets new_file_mode;
// a read-only file is refused. False (and path untouched) on any failure.
bool ReplaceFile(const std::string& path, std::string_view bytes, mode_t new_file_mode = 0600);

// Read, change and replace as one step: writers in any process that go through here wait for
// each other, so none loses another's change. change gets the current content (empty for a
// missing file) and returns the new one, or nothing to leave the file as it is (false then).
using FileChange = std::function<std::optional<std::string>(const std::string& current)>;
bool UpdateFile(const std::string& path, const FileChange& change, mode_t new_file_mode = 0600);
