#include "documents/html_scanner.h"

#include "documents/colour_spans.h"

#include "utils/string_utils.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t InComment = 1;
constexpr std::string_view CommentOpen = "<!--";
constexpr std::string_view CommentClose = "-->";

constexpr std::array<std::string_view, 45> TagNames = {
    "sub", "sup", "doctype", "html", "head", "body", "title", "style", "meta", "table", "tr", "td", "ul", "ol", "li",
    "p", "b", "i", "strong", "em", "address", "h1", "h2", "h3", "h4", "h5", "h6", "a", "hr", "br", "form", "input",
    "textarea", "span", "link", "script", "img", "pre", "div", "font", "var", "blockquote", "dl", "dd", "dt",
};
constexpr std::array<std::string_view, 34> AttributeNames = {
    "text", "vlink", "alink", "height", "face", "alt", "target", "language", "bordercolor", "bordercolordark",
    "public", "bgcolor", "http-equiv", "content", "border", "align", "valign", "href", "src", "rel", "method",
    "action", "size", "value", "name", "class", "cellspacing", "cellpadding", "width", "colspan", "rowspan",
    "type", "cols", "rows",
};
constexpr std::array<std::string_view, 4> EntityNames = {"nbsp", "lt", "gt", "amp"};

template <std::size_t Size>
bool IsKnown(const std::array<std::string_view, Size>& names, std::string_view name)
{
    return std::any_of(names.begin(), names.end(),
                       [name](std::string_view known) { return utils::EqualIgnoringCase(known, name); });
}

bool IsNameCharacter(char character)
{
    return (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z')
        || (character >= '0' && character <= '9') || character == '_' || character == '-';
}

class HtmlLineScanner {
public:
    HtmlLineScanner(std::uint32_t state, std::string_view line, std::vector<ColourSpan>* spans)
        : m_incomingState(state), m_line(line), m_spans(spans), m_inComment(state != 0)
    {
    }

    std::uint32_t Run()
    {
        if (m_line.empty())
            return m_incomingState;
        if (m_inComment)
            Append(0, ColourSlot::Comment);
        std::size_t index = 0;
        while (index < m_line.size()) {
            if (m_inComment)
                index = ScanComment(index);
            else if (!m_inTag)
                index = ScanText(index);
            else if (m_inString)
                index = ScanString(index);
            else
                index = ScanTag(index);
        }
        return m_inComment ? InComment : 0;
    }

private:
    // Each returns the index to continue at.
    std::size_t ScanComment(std::size_t index)
    {
        if (!m_line.substr(index).starts_with(CommentClose))
            return index + 1;
        const std::size_t after = index + CommentClose.size();
        Append(after, ColourSlot::NormalText);
        m_inComment = false;
        return after;
    }

    std::size_t ScanText(std::size_t index)
    {
        if (m_line.substr(index).starts_with(CommentOpen)) {
            Append(index, ColourSlot::Comment);
            m_inComment = true;
            return index + CommentOpen.size();
        }
        if (m_line[index] == '&')
            return ScanEntity(index);
        if (m_line[index] == '<') {
            Append(index, ColourSlot::HtmlMarkup);
            m_inTag = true;
            m_afterEquals = false;
        }
        return index + 1;
    }

    // Only a known name closed by ";" is coloured; scanning goes on after the name (and its ";").
    std::size_t ScanEntity(std::size_t ampersand)
    {
        const std::size_t nameEnd = NameEnd(ampersand + 1);
        const bool closed = nameEnd < m_line.size() && m_line[nameEnd] == ';';
        if (!closed)
            return nameEnd;
        if (IsKnown(EntityNames, m_line.substr(ampersand + 1, nameEnd - ampersand - 1))) {
            Append(ampersand, ColourSlot::HtmlAttribute);
            Append(nameEnd + 1, ColourSlot::NormalText);
        }
        return nameEnd + 1;
    }

    std::size_t ScanTag(std::size_t index)
    {
        const char character = m_line[index];
        if (character == '>') {
            Append(index + 1, ColourSlot::NormalText);
            m_inTag = false;
        } else if (IsNameCharacter(character)) {
            return ScanName(index);
        } else if (character == '=') {
            m_afterEquals = true;
        } else if (character == '"') {
            m_inString = true;
            m_afterEquals = false;
        }
        return index + 1;
    }

    // Names are looked up among the tag names first, wherever they stand in the tag.
    std::size_t ScanName(std::size_t start)
    {
        const std::size_t end = NameEnd(start);
        if (m_afterEquals) {
            // An unquoted attribute value keeps the markup colour.
            m_afterEquals = false;
            return end;
        }
        const std::string_view name = m_line.substr(start, end - start);
        if (IsKnown(TagNames, name))
            Append(start, ColourSlot::HtmlTagName);
        else if (IsKnown(AttributeNames, name))
            Append(start, ColourSlot::HtmlAttribute);
        else
            Append(start, ColourSlot::HtmlOtherName);
        Append(end, ColourSlot::HtmlMarkup);
        return end;
    }

    std::size_t ScanString(std::size_t index)
    {
        if (m_line[index] == '"') {
            m_inString = false;
            m_afterEquals = false;
        } else if (m_line[index] == '=') {
            m_afterEquals = true;
        }
        return index + 1;
    }

    std::size_t NameEnd(std::size_t start) const
    {
        while (start < m_line.size() && IsNameCharacter(m_line[start]))
            ++start;
        return start;
    }

    void Append(std::size_t start, ColourSlot slot) { AppendColourSpan(m_spans, start, slot); }

    std::uint32_t m_incomingState;
    std::string_view m_line;
    std::vector<ColourSpan>* m_spans;
    bool m_inComment;
    bool m_inTag = false;
    bool m_inString = false;
    bool m_afterEquals = false;
};

}  // namespace

std::uint32_t ScanHtmlLine(std::uint32_t state, std::string_view line, std::vector<ColourSpan>* spans)
{
    return HtmlLineScanner(state, line, spans).Run();
}
