#include "buffer/line_record.h"

#include <cstring>
#include <stdexcept>

namespace {

// Arrays are allocated to the smallest multiple of 16 strictly greater than the length, so an empty
// line owns 16 bytes and appending reallocates rarely.
std::int32_t CapacityFor(std::size_t length)
{
    if (length > static_cast<std::size_t>(MaximumLineLength)) {
        throw std::length_error("line too long for the text buffer");
    }
    return static_cast<std::int32_t>(16 * (length / 16 + 1));
}

}  // namespace

LineRecord MakeLineRecord(std::string_view text)
{
    LineRecord line;
    line.capacity = CapacityFor(text.size());
    line.characters = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(line.capacity));
    if (!text.empty()) {
        std::memcpy(line.characters.get(), text.data(), text.size());
    }
    line.length = static_cast<std::int32_t>(text.size());
    return line;
}

void AppendChars(LineRecord& line, std::string_view text)
{
    if (text.empty()) {
        return;
    }
    const std::size_t newLength = static_cast<std::size_t>(line.length) + text.size();
    if (newLength > static_cast<std::size_t>(line.capacity)) {
        const std::int32_t capacity = CapacityFor(newLength);
        auto characters = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(capacity));
        if (line.length > 0) {
            std::memcpy(characters.get(), line.characters.get(), static_cast<std::size_t>(line.length));
        }
        line.characters = std::move(characters);
        line.capacity = capacity;
    }
    std::memcpy(line.characters.get() + line.length, text.data(), text.size());
    line.length = static_cast<std::int32_t>(newLength);
}

void TruncateLine(LineRecord& line, std::int32_t length)
{
    if (length < line.length) {
        line.length = length;
    }
}
