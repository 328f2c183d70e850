#include "buffer/mapped_memory.h"

#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void* AdvisedForHugePages(void* block, std::size_t bytes)
{
    if (block == MAP_FAILED) {
        throw std::bad_alloc();
    }
    // Only advice: where huge pages are unavailable the block simply keeps normal pages.
    ::madvise(block, bytes, MADV_HUGEPAGE);
    return block;
}

}  // namespace

std::size_t PageRounded(std::size_t bytes)
{
    static const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (bytes + pageSize - 1) / pageSize * pageSize;
}

void* MapMemory(std::size_t bytes)
{
    return AdvisedForHugePages(::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0),
                               bytes);
}

void* RemapMemory(void* block, std::size_t oldBytes, std::size_t newBytes)
{
    return AdvisedForHugePages(::mremap(block, oldBytes, newBytes, MREMAP_MAYMOVE), newBytes);
}

void UnmapMemory(void* block, std::size_t bytes)
{
    ::munmap(block, bytes);
}
