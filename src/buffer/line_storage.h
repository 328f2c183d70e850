#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The character arrays of the lines of one table. Arrays of up to 1024 bytes are cut from large
// chunks and recycled by size, so loading a file of a million lines costs a hundred allocations
// instead of a million, needs no allocator bookkeeping per line, and freeing the text is as cheap.
// Larger arrays come from the general allocator.
class LineStorage {
public:
    LineStorage() = default;
    ~LineStorage();
    LineStorage(const LineStorage&) = delete;
    LineStorage& operator=(const LineStorage&) = delete;

    // capacity is a positive multiple of 16.
    char* Allocate(std::int32_t capacity);
    // Gives back an array obtained from Allocate with the same capacity.
    void Release(char* characters, std::int32_t capacity);
    // Frees all chunks at once. Arrays larger than the pooled sizes must have been released before.
    void Clear();

    static constexpr std::int32_t LargestPooledCapacity = 1024;

private:
    static constexpr std::int32_t Granularity = 16;
    static constexpr std::size_t FirstChunkSize = 4096;
    static constexpr std::size_t LargestChunkSize = 2 << 20;  // one huge page

    static std::size_t SizeClass(std::int32_t capacity) { return static_cast<std::size_t>(capacity / Granularity - 1); }
    char* CutFromChunk(std::size_t size);

    // Released arrays of each size, linked through their first bytes.
    std::array<char*, LargestPooledCapacity / Granularity> m_freeArrays{};
    struct Chunk {
        char* memory;
        std::size_t size;
    };
    std::vector<Chunk> m_chunks;
    char* m_unused = nullptr;
    std::size_t m_unusedSize = 0;
    std::size_t m_nextChunkSize = FirstChunkSize;
};
