#include "buffer/line_storage.h"

#include "buffer/mapped_memory.h"

#include <algorithm>
#include <cstring>

// Under the address sanitizer, arrays that are not handed out stay poisoned, so that a stray access
// to a freed line is still caught although its memory is pooled.
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define QUILL_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define QUILL_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define QUILL_POISON(address, size) ((void)(address), (void)(size))
#define QUILL_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

LineStorage::~LineStorage()
{
    Clear();
}

char* LineStorage::Allocate(std::int32_t capacity)
{
    if (capacity > LargestPooledCapacity) {
        return new char[static_cast<std::size_t>(capacity)];
    }
    char*& freeArray = m_freeArrays[SizeClass(capacity)];
    if (freeArray == nullptr) {
        return CutFromChunk(static_cast<std::size_t>(capacity));
    }
    char* array = freeArray;
    QUILL_UNPOISON(array, static_cast<std::size_t>(capacity));
    std::memcpy(&freeArray, array, sizeof freeArray);
    return array;
}

void LineStorage::Release(char* characters, std::int32_t capacity)
{
    if (capacity > LargestPooledCapacity) {
        delete[] characters;
        return;
    }
    char*& freeArray = m_freeArrays[SizeClass(capacity)];
    std::memcpy(characters, &freeArray, sizeof freeArray);
    freeArray = characters;
    QUILL_POISON(characters, static_cast<std::size_t>(capacity));
}

void LineStorage::Clear()
{
    m_freeArrays.fill(nullptr);
    for (const Chunk& chunk : m_chunks) {
        // Unmapping does not clear the marks; the next mapping at this address must start clean.
        QUILL_UNPOISON(chunk.memory, chunk.size);
        UnmapMemory(chunk.memory, chunk.size);
    }
    m_chunks.clear();
    m_unused = nullptr;
    m_unusedSize = 0;
    m_nextChunkSize = FirstChunkSize;
}

char* LineStorage::CutFromChunk(std::size_t size)
{
    if (m_unusedSize < size) {
        // The rest of the old chunk (less than one array) stays unused until Clear.
        if (m_chunks.size() == m_chunks.capacity()) {
            m_chunks.reserve(2 * m_chunks.size() + 8);  // so that recording the new chunk cannot throw
        }
        m_chunks.push_back({static_cast<char*>(MapMemory(m_nextChunkSize)), m_nextChunkSize});
        m_unused = m_chunks.back().memory;
        m_unusedSize = m_nextChunkSize;
        QUILL_POISON(m_unused, m_unusedSize);
        m_nextChunkSize = std::min(m_nextChunkSize * 2, LargestChunkSize);
    }
    char* array = m_unused;
    QUILL_UNPOISON(array, size);
    m_unused += size;
    m_unusedSize -= size;
    return array;
}
