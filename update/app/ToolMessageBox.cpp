#include "update/app/ToolMessageBox.h"

#include "common/ui/widgets/MessageBoxSeam.h"

void ShowToolMessage(QWidget* owner, const ToolMessage& message) {
    ShowMessageBox(owner, QString::fromStdString(message.text),
                   QString::fromStdString(message.caption), MessageBoxButtons::kOk,
                   message.error_icon ? MessageBoxIcon::kError : MessageBoxIcon::kNone);
}

ToolMessageSink ToolMessageBoxes(QWidget* owner) {
    return [owner](const ToolMessage& message) { ShowToolMessage(owner, message); };
}
