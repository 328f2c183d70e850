#include "docsystem/entity_replacement.h"

#include "docsystem/latex_comments.h"

namespace {

constexpr std::string_view preambleMarker = "%replace_entities";

// Replaces pair.from by pair.to from start on, except where it lies in a comment. The text is
// rebuilt from left to right, so the comment test looks at the text as rewritten so far, and the
// line of each replacement is counted in the text as rewritten.
void ReplaceEntity(std::string& text, SourceLineMap& lines, std::size_t start, const EntityPair& pair)
{
    // An empty text would be found everywhere and never used up.
    std::size_t found = pair.from.empty() ? std::string::npos : text.find(pair.from, start);
    if (found == std::string::npos)
        return;
    std::string result(text, 0, start);
    LatexCommentState comments;
    comments.Feed(result);
    std::size_t line = LineBreakCount(result);
    const std::size_t removedBreaks = LineBreakCount(pair.from);
    std::size_t copied = start;
    for (; found != std::string::npos; found = text.find(pair.from, copied)) {
        const std::string_view skipped(text.data() + copied, found - copied);
        result += skipped;
        comments.Feed(skipped);
        line += LineBreakCount(skipped);
        const std::string& written = comments.IsInComment(pair.from.front()) ? pair.from : pair.to;
        const std::size_t addedBreaks = LineBreakCount(written);
        if (removedBreaks != addedBreaks)
            lines.ReplaceLineBreaks(line, removedBreaks, addedBreaks);
        line += addedBreaks;
        result += written;
        comments.Feed(written);
        copied = found + pair.from.size();
    }
    result.append(text, copied);
    text = std::move(result);
}

}  // namespace

void ApplySourcePreamble(std::string& text, SourceLineMap& lines, const SourcePreamble& preamble, TextEncoding encoding)
{
    const EncodingPreamble& ofEncoding = preamble.For(encoding);
    // A marker at the very first character is not looked for.
    std::size_t start = text.empty() ? std::string::npos : text.find(preambleMarker, 1);
    if (start == std::string::npos) {
        start = 0;
    } else {
        // The preamble's lines are told as the marker's line: an error in them shows there.
        lines.ReplaceLineBreaks(LineBreakCount(std::string_view(text.data(), start)), 0, LineBreakCount(ofEncoding.text));
        text.insert(start, ofEncoding.text);
        start += ofEncoding.text.size();
    }
    for (const EntityPair& pair : ofEncoding.entityPairs)
        ReplaceEntity(text, lines, start, pair);
}

void ReplaceEntities(std::string& text, SourceLineMap& lines, TextEncoding encoding, DocumentationCallback& callback)
{
    if (const auto preamble = SharedSourcePreamble(callback))
        ApplySourcePreamble(text, lines, *preamble, encoding);
}
