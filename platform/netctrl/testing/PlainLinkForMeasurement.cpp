#include "testing/PlainLinkForMeasurement.h"

#include "NetCtrl.h"

void UsePlainLinksForMeasurement(bool plain) { NetCtrl::plain_for_measurement_ = plain; }
