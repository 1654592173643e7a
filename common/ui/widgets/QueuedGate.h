#pragma once

#include <QObject>
#include <memory>

#include "common/ui/core/WindowGate.h"

// The gate of a window: what worker threads, controls and dialogs post through it runs on the
// window's thread as a queued call, after what is already queued, in posting order. Made on
// the window thread; the window closes the gate before it goes.
std::shared_ptr<CWindowGate> CreateQueuedGate(QObject* window);
