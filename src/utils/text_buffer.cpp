#include "utils/text_buffer.h"

#include "utils/byte_search.h"
#include "utils/file_descriptor.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <new>

namespace utils {

namespace {

constexpr std::int64_t kCapacityStep = 1000;
// The largest capacity: a multiple of the step that a signed 32-bit size can express.
constexpr std::int64_t kMaximumCapacity = TextBuffer::kMaximumSize + 1;
static_assert(kMaximumCapacity % kCapacityStep == 0);

std::int64_t RoundUpToStep(std::int64_t length)
{
    return (length + kCapacityStep - 1) / kCapacityStep * kCapacityStep;
}

// Whether view lies in memory that an edit of storage may move or overwrite.
bool PointsInto(std::string_view view, const std::string& storage)
{
    if (view.empty() || storage.empty())
        return false;
    const std::less<const char*> before;
    return !before(view.data(), storage.data()) && before(view.data(), storage.data() + storage.size());
}

}  // namespace

TextBuffer::TextBuffer(std::string path, FileMode mode)
    : path(std::move(path))
    , mode(mode)
{
    Load();
}

TextBuffer::TextBuffer(std::string_view text)
    : storage(text)
    , size(static_cast<std::int32_t>(std::min<std::size_t>(text.size(), kMaximumSize)))
{
    storage.resize(static_cast<std::size_t>(size) + 1);
    gapStart = size;
    gapLength = 1;
}

void TextBuffer::Clear()
{
    storage = std::string();
    size = 0;
    gapStart = 0;
    gapLength = 0;
}

void TextBuffer::ClampMarkers()
{
    for (Marker& marker : markers)
        marker.position = std::min(marker.position, size);
}

bool TextBuffer::Load()
{
    std::optional<std::string> content = ReadWholeFile(path, mode, kMaximumSize);
    if (!content) {
        Clear();
        ClampMarkers();
        return false;
    }
    size = static_cast<std::int32_t>(content->size());
    storage = std::move(*content);
    storage.resize(static_cast<std::size_t>(RoundUpToStep(std::int64_t{size} + 1)));
    gapStart = size;
    gapLength = Capacity() - size;
    // Markers set before a reload must still point into the text.
    ClampMarkers();
    return true;
}

bool TextBuffer::Save()
{
    if (!HasBytes())
        return true;
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.IsOpen())
        return false;
    const bool written = WriteAll(file.Get(), storage.data(), static_cast<std::size_t>(gapStart)) &&
                         WriteAll(file.Get(), storage.data() + GapEnd(), static_cast<std::size_t>(size - gapStart));
    return file.Close() && written;
}

char TextBuffer::ByteAt(std::int32_t position) const
{
    if (position < 0 || position >= size)
        return '\0';
    return storage[static_cast<std::size_t>(position < gapStart ? position : position + gapLength)];
}

std::string TextBuffer::Substring(std::int32_t start, std::int32_t end) const
{
    start = std::clamp(start, 0, size);
    end = std::clamp(end, start, size);
    std::string result;
    result.reserve(static_cast<std::size_t>(end - start));
    if (start < gapStart)
        result.append(storage, static_cast<std::size_t>(start), static_cast<std::size_t>(std::min(end, gapStart) - start));
    if (end > gapStart) {
        const std::int32_t from = std::max(start, gapStart);
        result.append(storage, static_cast<std::size_t>(from + gapLength), static_cast<std::size_t>(end - from));
    }
    return result;
}

std::string_view TextBuffer::Text()
{
    if (!HasBytes())
        return {};
    MoveGap(size);
    storage[static_cast<std::size_t>(size)] = '\0';
    return std::string_view(storage.data(), static_cast<std::size_t>(size));
}

void TextBuffer::MoveGap(std::int32_t position)
{
    char* data = storage.data();
    if (position < gapStart)
        std::memmove(data + position + gapLength, data + position, static_cast<std::size_t>(gapStart - position));
    else if (position > gapStart)
        std::memmove(data + gapStart, data + GapEnd(), static_cast<std::size_t>(position - gapStart));
    gapStart = position;
}

bool TextBuffer::Reserve(std::int64_t requiredSize)
{
    const std::int64_t required = requiredSize + 1;  // room for the terminating zero
    if (required <= Capacity())
        return true;
    if (required > kMaximumCapacity)
        return false;
    // Growing by half each time keeps a long series of insertions linear.
    const std::int64_t wanted = std::max(required, std::int64_t{Capacity()} + Capacity() / 2);
    const std::int64_t capacity = std::min(RoundUpToStep(wanted), kMaximumCapacity);
    std::string grown;
    try {
        grown.resize(static_cast<std::size_t>(capacity));
    } catch (const std::bad_alloc&) {
        return false;  // reported to the caller as an edit that could not be made
    }
    const std::int32_t tailLength = size - gapStart;
    std::memcpy(grown.data(), storage.data(), static_cast<std::size_t>(gapStart));
    std::memcpy(grown.data() + capacity - tailLength, storage.data() + GapEnd(), static_cast<std::size_t>(tailLength));
    storage = std::move(grown);
    gapLength = static_cast<std::int32_t>(capacity) - size;
    return true;
}

std::int32_t TextBuffer::Find(std::string_view pattern, Case comparison, std::int32_t start,
                              char commentCharacter) const
{
    start = std::max(start, 0);
    if (pattern.empty() || start >= size || pattern.size() > static_cast<std::size_t>(size - start))
        return -1;
    if (commentCharacter != '\0')
        return FindSkippingComments(pattern, comparison, start, commentCharacter);
    return FindPlain(pattern, comparison, start);
}

std::int32_t TextBuffer::FindPlain(std::string_view pattern, Case comparison, std::int32_t start) const
{
    const auto patternLength = static_cast<std::int32_t>(pattern.size());  // at most the size, see Find
    if (start < gapStart) {
        const std::string_view before(storage.data(), static_cast<std::size_t>(gapStart));
        const std::size_t found = SearchBytes(before, pattern, static_cast<std::size_t>(start), comparison);
        if (found != std::string_view::npos)
            return static_cast<std::int32_t>(found);
        // Occurrences that begin before the gap and end after it.
        const std::int32_t lastStart = size - patternLength;
        for (std::int32_t candidate = std::max(start, gapStart - patternLength + 1);
             candidate < gapStart && candidate <= lastStart; ++candidate) {
            if (SearchBytes(Substring(candidate, candidate + patternLength), pattern, 0, comparison) == 0)
                return candidate;
        }
    }
    const std::int32_t from = std::max(start, gapStart);
    const std::string_view after(storage.data() + GapEnd(), static_cast<std::size_t>(size - gapStart));
    const std::size_t found = SearchBytes(after, pattern, static_cast<std::size_t>(from - gapStart), comparison);
    if (found == std::string_view::npos)
        return -1;
    return gapStart + static_cast<std::int32_t>(found);
}

// Compares byte by byte; a comment character makes the scan jump to the next line feed, which is
// then compared like any other byte. A mismatch restarts one byte after the partial match began.
std::int32_t TextBuffer::FindSkippingComments(std::string_view pattern, Case comparison, std::int32_t start,
                                              char commentCharacter) const
{
    const std::size_t patternLength = pattern.size();
    std::int32_t scan = start;
    std::size_t matched = 0;
    while (scan < size) {
        if (ByteAt(scan) == commentCharacter) {
            while (scan < size && ByteAt(scan) != '\n')
                ++scan;
        }
        // Past the end nothing matches, not even a zero byte of the pattern.
        const bool same = scan < size && (comparison == Case::Sensitive
                                              ? ByteAt(scan) == pattern[matched]
                                              : AsciiUpper(ByteAt(scan)) == AsciiUpper(pattern[matched]));
        if (same) {
            ++matched;
        } else {
            scan -= static_cast<std::int32_t>(matched);
            matched = 0;
        }
        ++scan;
        if (matched == patternLength)
            return scan - static_cast<std::int32_t>(matched);
    }
    return -1;
}

std::int32_t TextBuffer::EndOfLine(std::int32_t position) const
{
    position = std::clamp(position, 0, size);
    while (position < size) {
        const char byte = ByteAt(position);
        if (byte == '\r' || byte == '\n')
            return position;
        ++position;
    }
    return size;
}

void TextBuffer::MoveMarkersForInsert(std::int32_t position, std::int32_t length)
{
    for (Marker& marker : markers) {
        if (marker.position > position || (marker.position == position && (marker.flags & kMoveOnInsert) != 0))
            marker.position += length;
    }
}

void TextBuffer::MoveMarkersForErase(std::int32_t start, std::int32_t end)
{
    for (Marker& marker : markers) {
        if (marker.position > end)
            marker.position -= end - start;
        else if (marker.position > start)
            marker.position = start;
    }
}

void TextBuffer::InsertIntoGap(std::int32_t position, std::string_view bytes)
{
    const auto length = static_cast<std::int32_t>(bytes.size());
    MoveGap(position);
    if (!bytes.empty())  // an empty view may carry no pointer at all, which memcpy must not see
        std::memcpy(storage.data() + gapStart, bytes.data(), bytes.size());
    gapStart += length;
    gapLength -= length;
    size += length;
    MoveMarkersForInsert(position, length);
}

void TextBuffer::EraseIntoGap(std::int32_t start, std::int32_t end)
{
    const std::int32_t length = end - start;
    if (gapStart <= start) {
        MoveGap(start);
    } else {
        MoveGap(end);
        gapStart = start;
    }
    gapLength += length;
    size -= length;
    MoveMarkersForErase(start, end);
}

bool TextBuffer::Insert(std::int32_t position, std::string_view bytes)
{
    if (position < 0 || position > size || bytes.size() > static_cast<std::size_t>(kMaximumSize - size))
        return false;
    if (PointsInto(bytes, storage))
        return Insert(position, std::string(bytes));
    if (!Reserve(std::int64_t{size} + static_cast<std::int64_t>(bytes.size())))
        return false;
    InsertIntoGap(position, bytes);
    return true;
}

bool TextBuffer::Append(std::string_view bytes)
{
    return Insert(size, bytes);
}

bool TextBuffer::Erase(std::int32_t start, std::int32_t end)
{
    if (!HasBytes() || start < 0 || end < start || end > size)
        return false;
    EraseIntoGap(start, end);
    return true;
}

bool TextBuffer::ReplaceRange(std::int32_t start, std::int32_t end, std::string_view bytes)
{
    if (!HasBytes() || start < 0 || end < start || end > size)
        return false;
    const std::int64_t remaining = std::int64_t{size} - (end - start);
    if (static_cast<std::int64_t>(bytes.size()) > kMaximumSize - remaining)
        return false;
    if (PointsInto(bytes, storage))
        return ReplaceRange(start, end, std::string(bytes));
    // Reserved first, so that a replacement that cannot be made leaves the text as it was.
    if (!Reserve(remaining + static_cast<std::int64_t>(bytes.size())))
        return false;
    EraseIntoGap(start, end);
    InsertIntoGap(start, bytes);
    return true;
}

std::int32_t TextBuffer::ReplaceAll(std::string_view pattern, std::string_view replacement, Case comparison,
                                    std::int32_t start)
{
    const std::string ownReplacement = PointsInto(replacement, storage) ? std::string(replacement) : std::string();
    if (!ownReplacement.empty())
        replacement = ownReplacement;
    const std::string ownPattern = PointsInto(pattern, storage) ? std::string(pattern) : std::string();
    if (!ownPattern.empty())
        pattern = ownPattern;
    std::int32_t replacements = 0;
    for (std::int32_t found = Find(pattern, comparison, start); found >= 0;
         found = Find(pattern, comparison, found + static_cast<std::int32_t>(replacement.size()))) {
        if (!ReplaceRange(found, found + static_cast<std::int32_t>(pattern.size()), replacement))
            break;
        ++replacements;
    }
    return replacements;
}

bool TextBuffer::SetMarker(std::int32_t index, std::int32_t position, std::uint8_t flags)
{
    if (index < 0 || index > kMaximumMarkerIndex)
        return false;
    markers.resize(static_cast<std::size_t>(index) + 1);
    markers[static_cast<std::size_t>(index)] = Marker{std::clamp(position, 0, size), flags};
    return true;
}

std::int32_t TextBuffer::MarkerPosition(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= markers.size())
        return -1;
    return markers[static_cast<std::size_t>(index)].position;
}

}  // namespace utils
