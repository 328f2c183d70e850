#include "buffer/line_record.h"

#include <stdexcept>

std::int32_t LineCapacityFor(std::size_t length)
{
    if (length > static_cast<std::size_t>(MaximumLineLength)) {
        throw std::length_error("line too long for the text buffer");
    }
    return static_cast<std::int32_t>(16 * (length / 16 + 1));
}
