#include "views/line_matcher.h"

#include "utils/byte_search.h"
#include "utils/message_format.h"
#include "utils/string_table.h"
#include "views/search_flags.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <array>
#include <clocale>
#include <cstring>
#include <cwctype>
#include <locale.h>

namespace {

constexpr unsigned int InvalidPatternMessageId = 8631;
// What breaks a line in text inserted into a buffer.
constexpr std::string_view LineBreak = "\r\n";

// Letters other than ASCII ones fold as the C library's UTF-8 locale says, whatever the
// program's own locale is.
locale_t Utf8Locale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

char32_t FoldCodePoint(char32_t codePoint)
{
    if (codePoint < 128)
        return codePoint >= 'A' && codePoint <= 'Z' ? codePoint + ('a' - 'A') : codePoint;
    if (Utf8Locale() == nullptr)
        return codePoint;
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(codePoint), Utf8Locale()));
}

std::array<unsigned char, 256> AsciiFoldTable()
{
    std::array<unsigned char, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        table[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
    return table;
}

const std::array<unsigned char, 256>& AsciiFold()
{
    static const std::array<unsigned char, 256> table = AsciiFoldTable();
    return table;
}

int Found(std::size_t index)
{
    return index == std::string_view::npos ? -1 : static_cast<int>(index);
}

int FindBytes(std::string_view haystack, std::string_view needle, int from)
{
    return Found(utils::SearchBytes(haystack, needle, static_cast<std::size_t>(from), utils::Case::Sensitive));
}

// Eight bytes at a time without an early exit, which compilers turn into vector code.
bool IsAscii(std::string_view text)
{
    std::uint64_t seen = 0;
    std::size_t index = 0;
    for (; index + 8 <= text.size(); index += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + index, 8);
        seen |= word;
    }
    for (; index < text.size(); ++index)
        seen |= static_cast<unsigned char>(text[index]);
    return (seen & 0x8080808080808080ull) == 0;
}

}  // namespace

bool IsWordByte(unsigned char byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || byte == '_' || byte >= 128;
}

namespace {

bool IsWholeWordAt(std::string_view line, int start, int length)
{
    const auto end = static_cast<std::size_t>(start + length);
    if (start > 0 && IsWordByte(static_cast<unsigned char>(line[static_cast<std::size_t>(start) - 1])))
        return false;
    return end >= line.size() || !IsWordByte(static_cast<unsigned char>(line[end]));
}

}  // namespace

int FindInLine(std::string_view line, std::string_view text, WordMatch wordMatch, int from)
{
    for (int start = FindBytes(line, text, from); start != -1;) {
        if (wordMatch == WordMatch::Anywhere || IsWholeWordAt(line, start, static_cast<int>(text.size())))
            return start;
        if (static_cast<std::size_t>(start) >= line.size())
            return -1;
        start = FindBytes(line, text, start + 1);
    }
    return -1;
}

// A compiled pattern with its JIT code and the match data its searches share.
class LineMatcher::RegularExpression {
public:
    RegularExpression(std::string_view pattern, std::uint32_t flags, TextEncoding encoding)
    {
        std::uint32_t options = 0;
        if (encoding == TextEncoding::Utf8)
            options |= PCRE2_UTF | PCRE2_MATCH_INVALID_UTF;
        if ((flags & SearchFlags::FindMatchCase) == 0)
            options |= PCRE2_CASELESS;
        int errorCode = 0;
        PCRE2_SIZE errorOffset = 0;
        m_code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &errorCode,
                               &errorOffset, nullptr);
        if (m_code == nullptr)
            throw SearchPatternError(utils::MessageFormat(utils::LoadResourceString(InvalidPatternMessageId))
                                     % std::string(pattern) % ErrorText(errorCode) % std::to_string(errorOffset));
        // Without JIT support the interpreter matches the same, only slower.
        pcre2_jit_compile(m_code, PCRE2_JIT_COMPLETE);
        m_data = pcre2_match_data_create_from_pattern(m_code, nullptr);
    }
    ~RegularExpression()
    {
        pcre2_match_data_free(m_data);
        pcre2_code_free(m_code);
    }
    RegularExpression(const RegularExpression&) = delete;
    RegularExpression& operator=(const RegularExpression&) = delete;

    // Matches in the whole line from `from`, so that "^" and look-behinds see the line's start.
    std::optional<LineMatch> Match(std::string_view line, int from, std::uint32_t options = 0) const
    {
        const int result = pcre2_match(m_code, reinterpret_cast<PCRE2_SPTR>(line.data()), line.size(),
                                       static_cast<PCRE2_SIZE>(from), options, m_data, nullptr);
        if (result < 0)
            return std::nullopt;
        const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(m_data);
        return LineMatch{static_cast<int>(offsets[0]), static_cast<int>(offsets[1] - offsets[0])};
    }

    // Group `number` of the last match; empty when it took no part or does not exist.
    std::string_view Group(std::string_view line, int number) const
    {
        if (static_cast<std::uint32_t>(number) >= pcre2_get_ovector_count(m_data))
            return {};
        const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(m_data);
        const PCRE2_SIZE start = offsets[2 * number];
        const PCRE2_SIZE end = offsets[2 * number + 1];
        if (start == PCRE2_UNSET || end < start)
            return {};
        return line.substr(start, end - start);
    }

private:
    static std::string ErrorText(int errorCode)
    {
        std::array<PCRE2_UCHAR, 256> text{};
        pcre2_get_error_message(errorCode, text.data(), text.size());
        return reinterpret_cast<const char*>(text.data());
    }

    pcre2_code* m_code = nullptr;
    pcre2_match_data* m_data = nullptr;
};

LineMatcher::LineMatcher(std::string_view text, std::uint32_t flags, TextEncoding encoding)
    : m_text(text), m_flags(flags), m_encoding(encoding)
{
    if ((flags & SearchFlags::FindRegularExpression) != 0) {
        m_expression = std::make_unique<RegularExpression>(text, flags, encoding);
        return;
    }
    if ((flags & SearchFlags::FindMatchCase) != 0) {
        m_exactPattern.emplace(text, utils::Case::Sensitive);
        return;
    }
    m_foldedText = FoldCase(text, encoding);
    m_foldedPattern.emplace(m_foldedText, utils::Case::Insensitive);
    m_foldedTextIsAscii = IsAscii(m_foldedText);
    // Only two characters beyond ASCII fold to ASCII letters: U+0130 to "i" and U+212A to "k".
    // Without those letters an ASCII text matches ASCII bytes alone, so no line needs decoding.
    const bool mayMatchBeyondAscii = m_foldedText.find_first_of("ik") != std::string::npos;
    m_foldsLikeAscii = encoding == TextEncoding::Legacy || (m_foldedTextIsAscii && !mayMatchBeyondAscii);
}

LineMatcher::~LineMatcher() = default;

std::optional<LineMatch> LineMatcher::FindFirst(std::string_view line, int from) const
{
    while (from <= static_cast<int>(line.size())) {
        const std::optional<LineMatch> match = FindPlainOrExpression(line, from);
        if (!match || (m_flags & SearchFlags::FindWholeWord) == 0 || IsWholeWordAt(line, match->start, match->length))
            return match;
        from = NextCharacterStart(line, match->start);
    }
    return std::nullopt;
}

std::optional<LineMatch> LineMatcher::FindLast(std::string_view line, int before) const
{
    std::optional<LineMatch> last;
    for (int from = 0; from < before;) {
        const std::optional<LineMatch> match = FindFirst(line, from);
        if (!match || match->start >= before)
            break;
        last = match;
        from = NextCharacterStart(line, match->start);
    }
    return last;
}

std::string LineMatcher::Substitute(std::string_view line, LineMatch match, std::string_view replacement) const
{
    if (m_expression == nullptr || !m_expression->Match(line, match.start, PCRE2_ANCHORED))
        return std::string(replacement);
    std::string result;
    for (std::size_t index = 0; index < replacement.size(); ++index) {
        const char character = replacement[index];
        const char next = index + 1 < replacement.size() ? replacement[index + 1] : '\0';
        if (character == '$' && next >= '0' && next <= '9') {
            result += m_expression->Group(line, next - '0');
            ++index;
        } else if (character == '$' && next == '$') {
            result += '$';
            ++index;
        } else if (character == '\\' && next == 'n') {
            result += LineBreak;
            ++index;
        } else if (character == '\\' && next == '\\') {
            result += '\\';
            ++index;
        } else {
            result += character;
        }
    }
    return result;
}

std::optional<LineMatch> LineMatcher::FindPlainOrExpression(std::string_view line, int from) const
{
    if (m_expression != nullptr)
        return m_expression->Match(line, from);
    if ((m_flags & SearchFlags::FindMatchCase) == 0)
        return FindFolded(line, from);
    const int start = Found(m_exactPattern->FindIn(line, static_cast<std::size_t>(from)));
    return start == -1 ? std::nullopt : std::optional<LineMatch>(LineMatch{start, static_cast<int>(m_text.size())});
}

int LineMatcher::NextCharacterStart(std::string_view line, int index) const
{
    if (static_cast<std::size_t>(index) >= line.size())
        return index + 1;
    return utf8::NextCharacter(line, index, m_encoding);
}

std::optional<LineMatch> LineMatcher::FindFolded(std::string_view line, int from) const
{
    // Most lines are ASCII, and most search texts fold to ASCII: then folding ASCII letters is all
    // there is to do, and the match has the same place and length in the line.
    if (!m_foldsLikeAscii && !IsAscii(line.substr(static_cast<std::size_t>(from))))
        return FindFoldedUtf8(line, from);
    if (!m_foldedTextIsAscii && m_encoding == TextEncoding::Utf8)
        return std::nullopt;
    const int start = Found(m_foldedPattern->FindIn(line, static_cast<std::size_t>(from)));
    if (start == -1)
        return std::nullopt;
    return LineMatch{start, static_cast<int>(m_foldedText.size())};
}

// Folds the characters of `text` one by one, noting where each folded byte came from; an invalid
// byte stays as it is.
void LineMatcher::FoldUtf8(std::string_view text, std::string& folded, std::vector<int>* origins)
{
    folded.clear();
    if (origins != nullptr)
        origins->clear();
    for (std::size_t index = 0; index < text.size();) {
        const utf8::Character character = utf8::DecodeAt(text, index);
        const std::size_t before = folded.size();
        if (character.valid)
            folded += utf8::Encode(FoldCodePoint(character.codePoint));
        else
            folded += text[index];
        if (origins != nullptr)
            origins->insert(origins->end(), folded.size() - before, static_cast<int>(index));
        index += static_cast<std::size_t>(character.length);
    }
    if (origins != nullptr)
        origins->push_back(static_cast<int>(text.size()));
}

std::string LineMatcher::FoldCase(std::string_view text, TextEncoding encoding)
{
    std::string folded;
    if (encoding == TextEncoding::Utf8) {
        FoldUtf8(text, folded, nullptr);
        return folded;
    }
    const auto& fold = AsciiFold();
    for (const char byte : text)
        folded += static_cast<char>(fold[static_cast<unsigned char>(byte)]);
    return folded;
}

std::optional<LineMatch> LineMatcher::FindFoldedUtf8(std::string_view line, int from) const
{
    FoldUtf8(line.substr(static_cast<std::size_t>(from)), m_foldedLine, &m_foldedOrigins);
    for (int start = FindBytes(m_foldedLine, m_foldedText, 0); start != -1; start = FindBytes(m_foldedLine, m_foldedText, start + 1)) {
        const auto first = static_cast<std::size_t>(start);
        const std::size_t end = first + m_foldedText.size();
        // Only a match of whole characters counts.
        const bool startsCharacter = first == 0 || m_foldedOrigins[first - 1] != m_foldedOrigins[first];
        const bool endsCharacter = end == m_foldedLine.size() || m_foldedOrigins[end - 1] != m_foldedOrigins[end];
        if (startsCharacter && endsCharacter)
            return LineMatch{from + m_foldedOrigins[first], m_foldedOrigins[end] - m_foldedOrigins[first]};
    }
    return std::nullopt;
}
