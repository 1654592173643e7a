#include "platform/netctrl/testing/PlainLinkForMeasurement.h"

#include "platform/netctrl/NetCtrl.h"

void UsePlainLinksForMeasurement(bool plain) { NetCtrl::plain_for_measurement_ = plain; }
