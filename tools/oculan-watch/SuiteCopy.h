#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A private copy of the installed live view: <folder>/ClientSoftware/ with the program and
// the files it reads, so a run can keep its own device store (<folder>/uss.dat) beside it.
// Returns the copied program's path; empty when something could not be copied.
std::filesystem::path CopyInstalledOculan(const std::filesystem::path& installed_client_folder,
                                          const std::filesystem::path& folder);

// Writes <folder>/uss.dat with the devices, each "ADDRESS,USER,PASSWORD,SHOW NAME[,auto]".
bool WriteDeviceStore(const std::filesystem::path& folder, const std::vector<std::string>& devices);
