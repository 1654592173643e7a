#pragma once

#include "update/core/ToolMessage.h"

class QWidget;

// Shows a message of the tool's rules as a message box with an OK button.
void ShowToolMessage(QWidget* owner, const ToolMessage& message);
ToolMessageSink ToolMessageBoxes(QWidget* owner);
