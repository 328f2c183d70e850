#include "utils/utf8_characters.h"

#include <algorithm>
#include <array>

namespace utf8 {
namespace {

constexpr unsigned char Byte(std::string_view text, std::size_t index)
{
    return static_cast<unsigned char>(text[index]);
}

constexpr bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

struct Range {
    char32_t first;
    char32_t last;
};

// East Asian wide and fullwidth code points, by block; sorted.
constexpr std::array WideRanges{
    Range{0x1100, 0x115F},   Range{0x231A, 0x231B},   Range{0x2329, 0x232A},   Range{0x23E9, 0x23EC},
    Range{0x23F0, 0x23F0},   Range{0x23F3, 0x23F3},   Range{0x25FD, 0x25FE},   Range{0x2614, 0x2615},
    Range{0x2648, 0x2653},   Range{0x267F, 0x267F},   Range{0x2693, 0x2693},   Range{0x26A1, 0x26A1},
    Range{0x26AA, 0x26AB},   Range{0x26BD, 0x26BE},   Range{0x26C4, 0x26C5},   Range{0x26CE, 0x26CE},
    Range{0x26D4, 0x26D4},   Range{0x26EA, 0x26EA},   Range{0x26F2, 0x26F3},   Range{0x26F5, 0x26F5},
    Range{0x26FA, 0x26FA},   Range{0x26FD, 0x26FD},   Range{0x2705, 0x2705},   Range{0x270A, 0x270B},
    Range{0x2728, 0x2728},   Range{0x274C, 0x274C},   Range{0x274E, 0x274E},   Range{0x2753, 0x2755},
    Range{0x2757, 0x2757},   Range{0x2795, 0x2797},   Range{0x27B0, 0x27B0},   Range{0x27BF, 0x27BF},
    Range{0x2B1B, 0x2B1C},   Range{0x2B50, 0x2B50},   Range{0x2B55, 0x2B55},   Range{0x2E80, 0x303E},
    Range{0x3041, 0x33FF},   Range{0x3400, 0x4DBF},   Range{0x4E00, 0x9FFF},   Range{0xA000, 0xA4CF},
    Range{0xA960, 0xA97F},   Range{0xAC00, 0xD7A3},   Range{0xF900, 0xFAFF},   Range{0xFE10, 0xFE19},
    Range{0xFE30, 0xFE6F},   Range{0xFF00, 0xFF60},   Range{0xFFE0, 0xFFE6},   Range{0x16FE0, 0x16FE4},
    Range{0x17000, 0x18CFF}, Range{0x1B000, 0x1B2FF}, Range{0x1F004, 0x1F004}, Range{0x1F0CF, 0x1F0CF},
    Range{0x1F18E, 0x1F18E}, Range{0x1F191, 0x1F19A}, Range{0x1F200, 0x1F2FF}, Range{0x1F300, 0x1F64F},
    Range{0x1F680, 0x1F6FF}, Range{0x1F900, 0x1F9FF}, Range{0x1FA70, 0x1FAFF}, Range{0x20000, 0x2FFFD},
    Range{0x30000, 0x3FFFD},
};

// The number of continuation bytes a lead byte announces and the range its first continuation
// byte must lie in (narrower than 0x80..0xBF where overlong forms, surrogates or values beyond
// U+10FFFF would follow). Zero continuation bytes: not a lead byte.
struct LeadRule {
    int continuationBytes = 0;
    unsigned char firstLow = 0x80;
    unsigned char firstHigh = 0xBF;
};

constexpr LeadRule RuleForLead(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return {1};
    if (lead == 0xE0)
        return {2, 0xA0, 0xBF};
    if (lead == 0xED)
        return {2, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {2};
    if (lead == 0xF0)
        return {3, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {3};
    if (lead == 0xF4)
        return {3, 0x80, 0x8F};
    return {};
}

constexpr Character Invalid()
{
    return {ReplacementCharacter, 1, false};
}

int Clamped(std::string_view text, int index)
{
    return std::clamp(index, 0, static_cast<int>(text.size()));
}

}  // namespace

Character DecodeAt(std::string_view text, std::size_t index)
{
    const unsigned char lead = Byte(text, index);
    if (lead < 0x80)
        return {lead, 1, true};
    const LeadRule rule = RuleForLead(lead);
    if (rule.continuationBytes == 0 || index + static_cast<std::size_t>(rule.continuationBytes) >= text.size())
        return Invalid();
    const unsigned char first = Byte(text, index + 1);
    if (first < rule.firstLow || first > rule.firstHigh)
        return Invalid();
    char32_t codePoint = lead & (0x3F >> rule.continuationBytes);
    for (int offset = 1; offset <= rule.continuationBytes; ++offset) {
        const unsigned char continuation = Byte(text, index + static_cast<std::size_t>(offset));
        if (!IsContinuation(continuation))
            return Invalid();
        codePoint = (codePoint << 6) | (continuation & 0x3F);
    }
    return {codePoint, rule.continuationBytes + 1, true};
}

int CellWidth(char32_t codePoint)
{
    if (codePoint < WideRanges.front().first)
        return 1;
    const auto after = std::upper_bound(WideRanges.begin(), WideRanges.end(), codePoint,
                                        [](char32_t value, const Range& range) { return value < range.first; });
    if (after == WideRanges.begin())
        return 1;
    return codePoint <= std::prev(after)->last ? 2 : 1;
}

std::string Encode(char32_t codePoint)
{
    std::string bytes;
    if (codePoint < 0x80) {
        bytes += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        bytes += static_cast<char>(0xC0 | (codePoint >> 6));
        bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
            return {};
        bytes += static_cast<char>(0xE0 | (codePoint >> 12));
        bytes += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint <= 0x10FFFF) {
        bytes += static_cast<char>(0xF0 | (codePoint >> 18));
        bytes += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return bytes;
}

std::string ValidText(std::string_view text)
{
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t index = 0; index < text.size();) {
        const Character character = DecodeAt(text, index);
        if (character.valid)
            valid.append(text.substr(index, static_cast<std::size_t>(character.length)));
        else
            valid += Encode(ReplacementCharacter);
        index += static_cast<std::size_t>(character.length);
    }
    return valid;
}

int CharacterLength(std::string_view text, int index, TextEncoding encoding)
{
    if (index < 0 || index >= static_cast<int>(text.size()))
        return 0;
    if (encoding == TextEncoding::Legacy)
        return 1;
    return DecodeAt(text, static_cast<std::size_t>(index)).length;
}

int NextCharacter(std::string_view text, int index, TextEncoding encoding)
{
    index = Clamped(text, index);
    return index + CharacterLength(text, index, encoding);
}

int PreviousCharacter(std::string_view text, int index, TextEncoding encoding)
{
    index = Clamped(text, index);
    if (index == 0)
        return 0;
    if (encoding == TextEncoding::Utf8) {
        // A valid sequence ending here starts at a lead byte, which no other sequence contains,
        // so reading backwards agrees with reading forwards.
        for (int length = 2; length <= 4 && length <= index; ++length) {
            const Character character = DecodeAt(text, static_cast<std::size_t>(index - length));
            if (character.valid && character.length == length)
                return index - length;
        }
    }
    return index - 1;
}

int CharacterStart(std::string_view text, int index, TextEncoding encoding)
{
    index = Clamped(text, index);
    if (encoding == TextEncoding::Legacy)
        return index;
    for (int back = 1; back <= 3 && back <= index; ++back) {
        const Character character = DecodeAt(text, static_cast<std::size_t>(index - back));
        if (character.valid && character.length > back)
            return index - back;
    }
    return index;
}

int CharacterCells(std::string_view text, int index, TextEncoding encoding)
{
    if (encoding == TextEncoding::Legacy || index < 0 || index >= static_cast<int>(text.size()))
        return 1;
    return CellWidth(DecodeAt(text, static_cast<std::size_t>(index)).codePoint);
}

int CharacterCount(std::string_view text, int index, TextEncoding encoding)
{
    const int end = Clamped(text, index);
    if (encoding == TextEncoding::Legacy)
        return end;
    int count = 0;
    for (int position = 0; position < end; position = NextCharacter(text, position, encoding))
        ++count;
    return count;
}

void EncodingDetector::Count(std::string_view text)
{
    for (std::size_t index = 0; index < text.size();) {
        if (Byte(text, index) < 0x80) {
            ++index;
            continue;
        }
        const Character character = DecodeAt(text, index);
        if (character.valid)
            ++m_validSequences;
        else
            ++m_strayBytes;
        index += static_cast<std::size_t>(character.length);
    }
}

TextEncoding EncodingDetector::Decision() const
{
    if (m_strayBytes == 0 || m_validSequences > m_strayBytes)
        return TextEncoding::Utf8;
    return TextEncoding::Legacy;
}

}  // namespace utf8
