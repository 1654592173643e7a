#pragma once

#include <functional>
#include <string>

// A message for the operator; the window shows it as a box with an OK button.
struct ToolMessage {
    std::string text;
    std::string caption;  // empty: the program's name
    bool error_icon = false;
};

using ToolMessageSink = std::function<void(const ToolMessage&)>;
