#pragma once

#include <string>
#include <vector>

// The face names of the font list: sorted as a sorted list box keeps them (letter case
// ignored first), each name once.
std::vector<std::string> FontListOrder(std::vector<std::string> faces);
