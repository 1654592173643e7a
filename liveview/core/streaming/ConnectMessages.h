#pragma once

#include <string>

class LanguageSelect;

// Texts of the main window's connection messages, worded from the language table.

// A failed log-in of the device: its show name, a colon, a blank and why. Results -4, -3, -2
// and -1005 have texts of their own; any other says "Net Error!".
std::string LoginFailureText(int result, const std::string& show_name, const LanguageSelect& texts);

// A link the recorder dropped or lost.
std::string LostLinkText(const std::string& show_name, const LanguageSelect& texts);

// The language text of a key.
