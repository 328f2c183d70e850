#include "utils/byte_search.h"

#include <algorithm>
#include <cstring>

namespace utils {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool EqualIgnoringAsciiCase(const char* first, const char* second, std::size_t length)
{
    for (std::size_t index = 0; index < length; ++index) {
        if (AsciiUpper(first[index]) != AsciiUpper(second[index]))
            return false;
    }
    return true;
}

std::size_t NextByte(std::string_view text, char byte, std::size_t from)
{
    if (from >= text.size())
        return kNone;
    const void* found = std::memchr(text.data() + from, byte, text.size() - from);
    if (found == nullptr)
        return kNone;
    return static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
}

std::size_t SearchExact(std::string_view text, std::string_view pattern, std::size_t from)
{
    const void* found = ::memmem(text.data() + from, text.size() - from, pattern.data(), pattern.size());
    if (found == nullptr)
        return kNone;
    return static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
}

// Candidates are the places of the first pattern byte in either case, found with memchr so that
// long texts are scanned at memory speed.
std::size_t SearchIgnoringCase(std::string_view text, std::string_view pattern, std::size_t from)
{
    const char upper = AsciiUpper(pattern.front());
    const char lower = upper >= 'A' && upper <= 'Z' ? static_cast<char>(upper - 'A' + 'a') : upper;
    std::size_t nextUpper = NextByte(text, upper, from);
    std::size_t nextLower = lower == upper ? kNone : NextByte(text, lower, from);
    const std::size_t lastStart = text.size() - pattern.size();
    for (;;) {
        const std::size_t candidate = std::min(nextUpper, nextLower);
        if (candidate == kNone || candidate > lastStart)
            return kNone;
        if (EqualIgnoringAsciiCase(text.data() + candidate + 1, pattern.data() + 1, pattern.size() - 1))
            return candidate;
        if (candidate == nextUpper)
            nextUpper = NextByte(text, upper, candidate + 1);
        if (candidate == nextLower)
            nextLower = NextByte(text, lower, candidate + 1);
    }
}

}  // namespace

std::size_t SearchBytes(std::string_view text, std::string_view pattern, std::size_t from, Case comparison)
{
    if (from > text.size() || pattern.size() > text.size() - from)
        return kNone;
    if (pattern.empty())
        return from;
    if (comparison == Case::Sensitive)
        return SearchExact(text, pattern, from);
    return SearchIgnoringCase(text, pattern, from);
}

}  // namespace utils
