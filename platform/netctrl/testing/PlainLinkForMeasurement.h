#pragma once

// For benchmarks only: while plain is true, log-ins of every NetCtrl in the process run without
// TLS, against an emulated recorder started without it, to measure what TLS costs. Lives in its
// own library that no program links.
void UsePlainLinksForMeasurement(bool plain);
