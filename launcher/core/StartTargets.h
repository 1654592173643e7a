#pragma once

#include <string>

// The programs the launcher starts, all from the client programs' folder below its own.
enum class StartProgram { kPlayBack, kOculan, kRewinda, kFirmora };

// "<launcher folder>/ClientSoftware/<program>".
std::string StartProgramPath(const std::string& launcher_folder, StartProgram program);

// The launcher's language file, relative to its folder: the client programs' file of the
// language its settings name ("chinese" exactly selects Chinese, anything else English).
std::string StartLanguageFile(const std::string& language);
