// HeapCounter: the bytes this process holds through operator new, and the most it held since the
// last resetPeak(). The benchmark program replaces the global operator new and delete with counting
// ones; sizes are what malloc_usable_size reports (the request rounded up to malloc's chunk, without
// its header), so they are the heap a program really pays for. The add-in, the platform library and
// the engine library all allocate through these, so the counts cover everything in the process that
// uses C++ allocation (not plain malloc).
#pragma once

#include <cstddef>

namespace heap {

std::size_t live();
std::size_t peak();
void resetPeak();

} // namespace heap
