#pragma once

#include <cstddef>

namespace bivox::bench {

// The heap as the benchmarks see it: every operator new and delete of the process is
// counted, so that a job's peak memory can be measured without the noise of the resident
// set size.
std::size_t heap_in_use();
std::size_t heap_peak();
// Makes the peak the amount in use now.
void reset_heap_peak();

}  // namespace bivox::bench
