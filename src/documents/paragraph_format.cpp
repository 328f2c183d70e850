#include "documents/paragraph_format.h"

#include "buffer/quill_text_buffer.h"
#include "utils/string_utils.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

constexpr int TabColumns = 4;

std::string_view LineOf(const CQuillTextBuffer& buffer, int line)
{
    return {buffer.LineChars(line), static_cast<std::size_t>(buffer.LineLength(line))};
}

// The leading run of ASCII whitespace.
std::string_view IndentOf(std::string_view line)
{
    std::size_t length = 0;
    while (length < line.size() && static_cast<unsigned char>(line[length]) < 128
           && std::isspace(static_cast<unsigned char>(line[length])))
        ++length;
    return line.substr(0, length);
}

int DisplayWidth(std::string_view indent)
{
    int width = 0;
    for (const char character : indent)
        width += character == '\t' ? TabColumns : 1;
    return width;
}

class Paragraph {
public:
    Paragraph(const CQuillTextBuffer& buffer, std::string_view indent) : m_buffer(buffer), m_indent(indent) {}

    // A line belongs when it holds more than whitespace and its indent is exactly the paragraph's.
    bool Holds(int line) const
    {
        const std::string_view text = LineOf(m_buffer, line);
        return !utils::Trim(std::string(text)).empty() && IndentOf(text) == m_indent;
    }

    int FirstLine(int caretLine) const
    {
        int line = caretLine;
        while (line != 0 && Holds(line))
            --line;
        return Holds(line) ? line : line + 1;
    }

    // The end of the range: the start of the first line after the paragraph, or the end of the text.
    TextPosition End(int caretLine) const
    {
        int line = caretLine + 1;
        while (line < m_buffer.LineCount() && Holds(line))
            ++line;
        if (line == m_buffer.LineCount())
            return {m_buffer.LineLength(line - 1), line - 1};
        return {0, line};
    }

private:
    const CQuillTextBuffer& m_buffer;
    std::string_view m_indent;
};

// The wrapped lines, each carrying the indent and ending with a line break.
std::string IndentedLines(const std::string& wrapped, const std::string& indent)
{
    const std::string body = utils::RemoveSuffix(wrapped, "\r\n");
    return indent + utils::ReplaceAll(body, "\r\n", "\r\n" + indent) + "\r\n";
}

// Where the last line of `lines` ends; every line of them ends with "\r\n" and holds no other line feed.
TextPosition EndOfLastLine(std::string_view lines, int firstLine)
{
    const std::size_t lastBreak = lines.size() - 2;
    const std::size_t previousBreak = lines.rfind("\r\n", lastBreak - 1);
    const std::size_t lastLineStart = previousBreak == std::string_view::npos ? 0 : previousBreak + 2;
    const auto lineCount = static_cast<int>(std::count(lines.begin(), lines.end(), '\n'));
    return {static_cast<std::int32_t>(lastBreak - lastLineStart), firstLine + lineCount - 1};
}

}  // namespace

std::optional<ParagraphReplacement> FormatParagraph(const CQuillTextBuffer& buffer, int caretLine)
{
    const std::string_view caretText = LineOf(buffer, caretLine);
    const std::string indent(IndentOf(caretText));
    if (indent.size() == caretText.size())
        return std::nullopt;

    const Paragraph paragraph(buffer, indent);
    ParagraphReplacement replacement;
    replacement.start = {0, paragraph.FirstLine(caretLine)};
    replacement.end = paragraph.End(caretLine);
    std::string text;
    buffer.ExtractText(replacement.start.line, 0, replacement.end.line, replacement.end.character, text);
    const std::string words = utils::CollapseWhitespace(text);
    const std::string wrapped = utils::Wrap(words, ParagraphWidth - DisplayWidth(indent), buffer.Encoding());
    replacement.text = IndentedLines(wrapped, indent);

    replacement.caret = EndOfLastLine(replacement.text, replacement.start.line);
    return replacement;
}
