#include "common/ui/widgets/QueuedGate.h"

#include <utility>

std::shared_ptr<CWindowGate> CreateQueuedGate(QObject* window) {
    return CWindowGate::Create([window](CWindowGate::Task task) {
        QMetaObject::invokeMethod(window, std::move(task), Qt::QueuedConnection);
    });
}
