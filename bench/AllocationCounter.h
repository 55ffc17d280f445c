#pragma once

#include <cstddef>

namespace tellurix::bench {

// Number of operator new calls since the program started (the bench binary replaces the
// global allocation functions).
std::size_t allocationCount();

}  // namespace tellurix::bench
