#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <optional>
#include <string>

// What a test sees of, and does to, an X display it runs programs on: the composed screen, the
// programs' top-level windows, and the pointer and keyboard (through the XTest extension).

// The screen as shown, pictures included; `area` empty: all of it. A null image when the
// display cannot be opened.
QImage GrabScreen(const std::string& display, const QRect& area = {});

// The screen rectangle of the first viewable top-level window with this title.
std::optional<QRect> FindWindow(const std::string& display, const std::string& title);

// Moves the pointer to a screen position and clicks a button there (1 left, 3 right).
void Click(const std::string& display, QPoint screen_pos, int button = 1);

// Presses and releases one key, named by its X keysym ("Return", "Escape", "Tab", "a").
void PressKey(const std::string& display, const char* keysym_name);

// Types printable ASCII text, with Shift where the keyboard map needs it.
void TypeText(const std::string& display, const std::string& text);
