#pragma once

#include <string>
#include <vector>

// The face names of the font list: sorted as a sorted list box keeps them (letter case
// ignored first), each name once.
std::vector<std::string> FontListOrder(std::vector<std::string> faces);

// The face the list opens on: the first installed of the plain faces that draw channel names
// in every language the tool has (Latin and Chinese), else the first listed; -1 for none.
// The first in name order is often a symbol, math or segment face.
int DefaultFaceIndex(const std::vector<std::string>& faces);
