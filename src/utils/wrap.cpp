// The text wrapper of paragraph formatting and message boxes.

#include "utils/string_utils.h"


namespace utils {

namespace {

enum class CharacterClass { Space, Word, Other };

CharacterClass ClassOf(char character)
{
    if (character == ' ' || character == '\t' || character == '\r' || character == '\n')
        return CharacterClass::Space;
    if (IsIdentifierCharacter(character) || character == '.' || character == '-' ||
        static_cast<unsigned char>(character) >= 128)
        return CharacterClass::Word;
    return CharacterClass::Other;
}

bool IsSpace(char character)
{
    return ClassOf(character) == CharacterClass::Space;
}

// Positions are signed so that the limits below may point before the line start.
using Index = std::ptrdiff_t;

Index Length(const std::string& text)
{
    return static_cast<Index>(text.size());
}

Index FirstNonSpace(const std::string& text, Index from)
{
    while (from < Length(text) && IsSpace(text[from]))
        ++from;
    return from;
}

// Joins text[0..last] and text[resume..] with a line break.
void BreakBetween(std::string& text, Index last, Index resume)
{
    text = text.substr(0, last + 1) + "\r\n" + text.substr(resume);
}

// A space at the limit: the line ends at its last non-space character. Returns the next line start.
Index BreakAtSpace(std::string& text, Index lineStart, Index limit)
{
    Index lastOfLine = limit;
    while (lastOfLine > lineStart && IsSpace(text[lastOfLine]))
        --lastOfLine;
    const Index next = FirstNonSpace(text, limit + 1);
    if (next == Length(text))
        text.erase(lastOfLine + 1);
    else
        BreakBetween(text, lastOfLine, next);
    return lastOfLine + 3;
}

// A word (or punctuation) at the limit: break before it, or let an overlong word overflow.
Index BreakAtWord(std::string& text, Index lineStart, Index limit, Index width)
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
        text.erase(end);
    else
        BreakBetween(text, end - 1, next);
    return end + 2;
}

// The position after a line break that lies in text[lineStart .. limit - 1], or -1.
Index AfterExistingBreak(const std::string& text, Index lineStart, Index limit)
{
    for (Index position = lineStart; position < limit; ++position) {
        const int breakLength = LineBreakLengthAt(text, static_cast<std::size_t>(position));
        if (breakLength > 0)
            return position + breakLength;
    }
    return -1;
}

}  // namespace

std::string Wrap(std::string text, int width)
{
    if (width < 1)
        return text;
    Index lineStart = 0;
    while (Length(text) - lineStart > width) {
        const Index limit = lineStart + width - 1;
        const Index afterBreak = AfterExistingBreak(text, lineStart, limit);
        if (afterBreak >= 0) {
            lineStart = afterBreak;
            continue;
        }
        if (IsSpace(text[limit]))
            lineStart = BreakAtSpace(text, lineStart, limit);
        else
            lineStart = BreakAtWord(text, lineStart, limit, width);
    }
    return text;
}

}  // namespace utils
