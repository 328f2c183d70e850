#pragma once

#include <cstddef>

// Anonymous memory straight from the system, for the large, long-lived blocks of a loaded text.
// Blocks are marked for huge pages where the system offers them: a 100 MB text then costs a few
// dozen page faults instead of tens of thousands. Sizes are rounded up to whole pages; failures
// throw std::bad_alloc.
std::size_t PageRounded(std::size_t bytes);
void* MapMemory(std::size_t bytes);
// Resizes a block, moving it if need be without copying its pages.
void* RemapMemory(void* block, std::size_t oldBytes, std::size_t newBytes);
void UnmapMemory(void* block, std::size_t bytes);
