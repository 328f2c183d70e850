#include "utils/byte_search.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace utils {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
// memmem's preparation costs more than a shorter text takes to scan.
constexpr std::size_t LongText = 4096;

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

std::size_t SearchWithMemmem(std::string_view text, std::string_view pattern, std::size_t from)
{
    const void* found = ::memmem(text.data() + from, text.size() - from, pattern.data(), pattern.size());
    if (found == nullptr)
        return kNone;
    return static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
}

// How common each byte is in prose and LaTeX sources, roughly: the higher, the more common.
std::array<int, 256> CommonnessTable()
{
    static constexpr std::string_view byFrequency = " etaoinsrhldcumfpgwybv\\.,{}kx-012$%()STACIPMBDE=jq_^~z";
    std::array<int, 256> table{};
    for (std::size_t rank = 0; rank < byFrequency.size(); ++rank)
        table[static_cast<unsigned char>(byFrequency[rank])] = static_cast<int>(byFrequency.size() - rank);
    return table;
}

int Commonness(char byte)
{
    static const std::array<int, 256> table = CommonnessTable();
    return table[static_cast<unsigned char>(byte)];
}

// The index of the pattern byte that is rarest in text (both letter cases counted when case is
// ignored), so that memchr stops at as few candidates as possible.
std::size_t RarestByteIndex(std::string_view pattern, Case comparison)
{
    std::size_t rarest = 0;
    int rarestCommonness = 1 << 30;
    for (std::size_t index = 0; index < pattern.size(); ++index) {
        const char byte = pattern[index];
        const int commonness = comparison == Case::Sensitive ? Commonness(byte)
                                                             : Commonness(AsciiUpper(byte)) + Commonness(AsciiLower(byte));
        if (commonness < rarestCommonness) {
            rarest = index;
            rarestCommonness = commonness;
        }
    }
    return rarest;
}

}  // namespace

BytePattern::BytePattern(std::string_view pattern, Case comparison)
    : m_pattern(pattern), m_comparison(comparison), m_anchor(RarestByteIndex(pattern, comparison))
{
    if (pattern.empty())
        return;
    const char anchor = pattern[m_anchor];
    m_anchorUpper = comparison == Case::Insensitive ? AsciiUpper(anchor) : anchor;
    m_anchorLower = comparison == Case::Insensitive ? AsciiLower(anchor) : anchor;
}

// Candidates are the places of the pattern's rarest byte (in either case when case is ignored),
// found with memchr, so that texts are scanned at memory speed; each is then compared whole.
std::size_t BytePattern::FindIn(std::string_view text, std::size_t from) const
{
    if (from > text.size() || m_pattern.size() > text.size() - from)
        return kNone;
    if (m_pattern.empty())
        return from;
    const std::size_t lastStart = text.size() - m_pattern.size();
    std::size_t nextUpper = NextByte(text, m_anchorUpper, from + m_anchor);
    std::size_t nextLower = m_anchorLower == m_anchorUpper ? kNone : NextByte(text, m_anchorLower, from + m_anchor);
    for (;;) {
        const std::size_t candidate = std::min(nextUpper, nextLower);
        if (candidate == kNone || candidate - m_anchor > lastStart)
            return kNone;
        const std::size_t start = candidate - m_anchor;
        const bool equal = m_comparison == Case::Sensitive
                               ? std::memcmp(text.data() + start, m_pattern.data(), m_pattern.size()) == 0
                               : EqualIgnoringAsciiCase(text.data() + start, m_pattern.data(), m_pattern.size());
        if (equal)
            return start;
        if (candidate == nextUpper)
            nextUpper = NextByte(text, m_anchorUpper, candidate + 1);
        if (candidate == nextLower)
            nextLower = NextByte(text, m_anchorLower, candidate + 1);
    }
}

std::size_t SearchBytes(std::string_view text, std::string_view pattern, std::size_t from, Case comparison)
{
    if (from > text.size() || pattern.size() > text.size() - from)
        return kNone;
    if (pattern.empty())
        return from;
    if (comparison == Case::Sensitive && text.size() - from >= LongText)
        return SearchWithMemmem(text, pattern, from);
    return BytePattern(pattern, comparison).FindIn(text, from);
}

}  // namespace utils
