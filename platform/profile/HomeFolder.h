#pragma once

#include <string>

// The user's home folder ($HOME, else the password database's entry, else /tmp): where the
// platform's default folder "C:\" lands on this system.
std::string HomeFolder();
