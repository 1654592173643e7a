#pragma once

// A 3 x 5 dot font of the ten digits, for numbers drawn large onto test pictures.
constexpr int kDigitColumns = 3;
constexpr int kDigitRows = 5;

// True when the dot at (column, row) of digit 0..9 is set.
bool DigitDot(int digit, int column, int row);
