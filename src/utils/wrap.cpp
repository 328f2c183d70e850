// The text wrapper of paragraph formatting and message boxes.

#include "utils/string_utils.h"
#include "utils/utf8_characters.h"

#include <vector>

namespace utils {

namespace {

enum class CharacterClass { Space, Word, Other };

// The text as its characters: one byte each in a legacy text, a UTF-8 sequence (or an invalid
// byte) each in UTF-8. Breaks go only between characters.
using Characters = std::vector<std::string>;

Characters SplitCharacters(const std::string& text, TextEncoding encoding)
{
    Characters characters;
    const int length = static_cast<int>(text.size());
    for (int index = 0; index < length;) {
        const int next = utf8::NextCharacter(text, index, encoding);
        characters.push_back(text.substr(static_cast<std::size_t>(index), static_cast<std::size_t>(next - index)));
        index = next;
    }
    return characters;
}

std::string Joined(const Characters& characters)
{
    std::string text;
    for (const std::string& character : characters)
        text += character;
    return text;
}

// Every character beyond ASCII is a word character, as every byte above 127 is one.
CharacterClass ClassOf(const std::string& character)
{
    const char first = character.front();
    if (first == ' ' || first == '\t' || first == '\r' || first == '\n')
        return CharacterClass::Space;
    if (IsIdentifierCharacter(first) || first == '.' || first == '-' || static_cast<unsigned char>(first) >= 128)
        return CharacterClass::Word;
    return CharacterClass::Other;
}

bool IsSpace(const std::string& character)
{
    return ClassOf(character) == CharacterClass::Space;
}

// Positions are signed so that the limits below may point before the line start.
using Index = std::ptrdiff_t;

Index Length(const Characters& text)
{
    return static_cast<Index>(text.size());
}

Index FirstNonSpace(const Characters& text, Index from)
{
    while (from < Length(text) && IsSpace(text[from]))
        ++from;
    return from;
}

// Joins text[0..last] and text[resume..] with a line break.
void BreakBetween(Characters& text, Index last, Index resume)
{
    text.erase(text.begin() + last + 1, text.begin() + resume);
    text.insert(text.begin() + last + 1, {"\r", "\n"});
}

// A space at the limit: the line ends at its last non-space character. Returns the next line start.
Index BreakAtSpace(Characters& text, Index lineStart, Index limit)
{
    Index lastOfLine = limit;
    while (lastOfLine > lineStart && IsSpace(text[lastOfLine]))
        --lastOfLine;
    const Index next = FirstNonSpace(text, limit + 1);
    if (next == Length(text))
        text.resize(static_cast<std::size_t>(lastOfLine + 1));
    else
        BreakBetween(text, lastOfLine, next);
    return lastOfLine + 3;
}

// A word (or punctuation) at the limit: break before it, or let an overlong word overflow.
Index BreakAtWord(Characters& text, Index lineStart, Index limit, Index width)
{
    const CharacterClass limitClass = ClassOf(text[limit]);
    Index before = limit;
    while (before > lineStart && ClassOf(text[before]) == limitClass)
        --before;
    if (limitClass == CharacterClass::Other) {
        while (before > lineStart && ClassOf(text[before]) == CharacterClass::Word)
            --before;
    }
    if (before > lineStart) {
        Index lastOfLine = before;
        if (IsSpace(text[before])) {
            while (lastOfLine > lineStart && IsSpace(text[lastOfLine]))
                --lastOfLine;
        }
        BreakBetween(text, lastOfLine, before + 1);
        return lastOfLine + 3;
    }
    Index end = lineStart + width;
    while (end < Length(text) && ClassOf(text[end]) == limitClass)
        ++end;
    if (limitClass == CharacterClass::Word) {
        while (end < Length(text) && ClassOf(text[end]) == CharacterClass::Other)
            ++end;
    }
    const Index next = FirstNonSpace(text, end);
    if (next == Length(text))
        text.resize(static_cast<std::size_t>(end));
    else
        BreakBetween(text, end - 1, next);
    return end + 2;
}

// The position after a line break that lies in text[lineStart .. limit - 1], or -1.
Index AfterExistingBreak(const Characters& text, Index lineStart, Index limit)
{
    for (Index position = lineStart; position < limit; ++position) {
        const char second = position + 1 < Length(text) ? text[position + 1].front() : '\0';
        const int breakLength = LineBreakLength(text[position].front(), second);
        if (breakLength > 0)
            return position + breakLength;
    }
    return -1;
}

}  // namespace

std::string Wrap(std::string text, int width, TextEncoding encoding)
{
    if (width < 1)
        return text;
    Characters characters = SplitCharacters(text, encoding);
    Index lineStart = 0;
    while (Length(characters) - lineStart > width) {
        const Index limit = lineStart + width - 1;
        const Index afterBreak = AfterExistingBreak(characters, lineStart, limit);
        if (afterBreak >= 0) {
            lineStart = afterBreak;
            continue;
        }
        if (IsSpace(characters[limit]))
            lineStart = BreakAtSpace(characters, lineStart, limit);
        else
            lineStart = BreakAtWord(characters, lineStart, limit, width);
    }
    return Joined(characters);
}

}  // namespace utils
