#pragma once

#include <cstddef>

// Bytes held through operator new by the whole program, and the most held since the last
// reset; the benchmarks read memory figures from here.
std::size_t AllocatedBytes();
std::size_t PeakAllocatedBytes();
void ResetPeakAllocatedBytes();
