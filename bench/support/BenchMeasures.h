#pragma once

#include <vector>

// What the benchmarks that time themselves read of a run and of the machine.

// The middle value (the upper one of an even count); 0 when there is none.
double Median(std::vector<double> values);
// The machine's one-minute load average, which the other work on it sets.
double LoadAverage();
// CPU seconds this process has used, user and system, all its threads.
double ProcessCpuSeconds();
