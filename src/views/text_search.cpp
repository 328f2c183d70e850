#include "views/text_search.h"

#include "views/quill_text_view.h"
#include "views/search_flags.h"

#include <climits>

TextSearch::TextSearch(const CQuillTextView& view, std::string_view text, std::uint32_t flags)
    : m_view(view),
      m_matcher(text, flags, view.Encoding()),
      m_matchesEmptyRest((flags & SearchFlags::FindRegularExpression) != 0)
{
}

std::string_view TextSearch::Line(int line) const
{
    const char* characters = m_view.LineChars(line);
    if (characters == nullptr)
        return {};
    return {characters, static_cast<std::size_t>(m_view.LineLength(line))};
}

std::optional<FoundText> TextSearch::Downward(TextPosition start, TextPosition rangeEnd) const
{
    const int lastLine = std::min(rangeEnd.line, m_view.LineCount() - 1);
    for (int line = std::max(start.line, 0); line <= lastLine; ++line) {
        const std::string_view text = Line(line);
        const int from = line == start.line ? start.character : 0;
        const int rest = static_cast<int>(text.size()) - from;
        if (rest < 0 || (rest == 0 && !m_matchesEmptyRest))
            continue;
        const std::optional<LineMatch> match = m_matcher.FindFirst(text, from);
        if (!match)
            continue;
        // The whole match lies before the range end (an empty one may sit right at it).
        if (line == rangeEnd.line && match->start + match->length > rangeEnd.character)
            return std::nullopt;
        return FoundText{{match->start, line}, match->length};
    }
    return std::nullopt;
}

std::optional<FoundText> TextSearch::Upward(TextPosition start) const
{
    for (int line = std::min(start.line, m_view.LineCount() - 1); line >= 0; --line) {
        const std::string_view text = Line(line);
        const int before = line == start.line ? start.character : INT_MAX;
        if (const std::optional<LineMatch> match = m_matcher.FindLast(text, before))
            return FoundText{{match->start, line}, match->length};
    }
    return std::nullopt;
}

std::string TextSearch::Substitute(FoundText match, std::string_view replacement) const
{
    return m_matcher.Substitute(Line(match.position.line), {match.position.character, match.length}, replacement);
}

TextPosition PositionAfterReplacement(TextPosition position, FoundText match, TextPosition insertedEnd)
{
    const TextPosition matchEnd = match.End();
    if (position <= match.position)
        return position;
    if (position.line != match.position.line)
        return {position.character, position.line + insertedEnd.line - match.position.line};
    if (position < matchEnd)
        return match.position;
    return {insertedEnd.character + position.character - matchEnd.character, insertedEnd.line};
}
