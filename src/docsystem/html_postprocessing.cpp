#include "docsystem/html_postprocessing.h"

#include "docsystem/marker_expansion.h"
#include "docsystem/page_encoding.h"
#include "utils/error_reporting.h"
#include "utils/string_utils.h"

namespace {

using utils::Case;
using utils::TextBuffer;

std::int32_t Length(std::string_view text)
{
    return static_cast<std::int32_t>(text.size());
}

// References into the single-page document become local anchors of the index page.
void LocaliseIndexAnchors(TextBuffer& page, const std::string& pagePath, const std::string& baseName)
{
    if (utils::EqualIgnoringCase(utils::FileName(pagePath, utils::Extension::Remove), "index"))
        page.ReplaceAll(baseName + ".html#", "#", Case::Sensitive);
}

void RemoveHeadingBreaks(TextBuffer& page)
{
    const std::int32_t open = page.Find("<H1>", Case::Insensitive);
    if (open < 0)
        return;
    std::int32_t close = page.Find("</H1>", Case::Insensitive, open + 4);
    if (close < 0)
        return;
    for (std::int32_t found = page.Find("<BR>", Case::Insensitive, open + 4); found >= 0 && found < close;
         found = page.Find("<BR>", Case::Insensitive, found)) {
        page.Erase(found, found + 4);
        close -= 4;
    }
}

void ReplaceStyleSheet(TextBuffer& page, const std::string& styleSheet)
{
    const std::int32_t link = page.Find("<LINK REL=\"STYLESHEET\" HREF=\"", Case::Sensitive);
    if (link < 0)
        return;
    const std::int32_t lineFeed = page.Find("\n", Case::Sensitive, link);
    const std::int32_t end = lineFeed < 0 ? page.Size() : lineFeed;
    if (styleSheet.empty())
        page.Erase(link, end);
    else
        page.ReplaceRange(link, end, "<link rel=\"stylesheet\" href=\"" + styleSheet + "\">");
}

void InsertHeadCommands(TextBuffer& page, const std::vector<std::string>& headCommands, TextEncoding pageEncoding)
{
    const std::int32_t headEnd = page.Find("</HEAD>", Case::Sensitive);
    if (headEnd < 0)
        return;
    std::string lines;
    for (const std::string& command : headCommands)
        lines += TextForPage(command, pageEncoding) + "\r\n";
    page.Insert(headEnd, lines);
}

// The setting relabels and recodes pages in an 8-bit character set. A UTF-8 page keeps its
// declaration, and its bytes: swapping single bytes would cut its sequences apart. The bytes are
// only swapped where the label changed, so that a page that declares another charset (the Czech
// pages say iso-8859-2) is not recoded under a label that then no longer fits.
void ApplyEncoding(TextBuffer& page, const std::string& encoding, TextEncoding pageEncoding)
{
    if (encoding.empty() || pageEncoding == TextEncoding::Utf8)
        return;
    const std::int32_t relabelled = page.ReplaceAll("iso-8859-1", encoding, Case::Sensitive);
    if (encoding != "windows-1250" || relabelled == 0)
        return;
    // The ISO 8859-2 codes of z and s with caron (small and capital) become their Windows-1250 codes.
    page.ReplaceAll("\xBE", "\x9E", Case::Sensitive);
    page.ReplaceAll("\xAE", "\x8E", Case::Sensitive);
    page.ReplaceAll("\xB9", "\x9A", Case::Sensitive);
    page.ReplaceAll("\xA9", "\x8A", Case::Sensitive);
}

void RemoveAltTexts(TextBuffer& page)
{
    constexpr std::string_view alt = "ALT=\"";
    for (std::int32_t found = page.Find(alt, Case::Sensitive); found >= 0;) {
        const std::int32_t quote = page.Find("\"", Case::Sensitive, found + Length(alt));
        // Without a closing quote after this text, no later one has one either.
        if (quote < 0)
            return;
        page.Erase(found, quote + 1);
        found = page.Find(alt, Case::Sensitive, found);
    }
}

bool IsLineBreak(char character)
{
    return character == '\r' || character == '\n';
}

// A math comment on its own line goes together with the line break before it.
std::int32_t MathCommentStart(const TextBuffer& page, std::int32_t comment)
{
    if (comment < 2 || !IsLineBreak(page.ByteAt(comment - 1)))
        return comment;
    return comment - utils::LineBreakLength(page.ByteAt(comment - 2), page.ByteAt(comment - 1));
}

void RemoveMathComments(TextBuffer& page)
{
    constexpr std::string_view math = "<!-- MATH: ";
    for (std::int32_t found = page.Find(math, Case::Sensitive); found >= 0;) {
        const std::int32_t start = MathCommentStart(page, found);
        const std::int32_t close = page.Find("-->", Case::Sensitive, start);
        // Without an end after this comment, no later comment has one either.
        if (close < 0)
            return;
        std::int32_t end = close + 3;
        while (end < page.Size() && utils::kWhitespace.find(page.ByteAt(end)) != std::string_view::npos)
            ++end;
        page.Erase(start, end);
        found = page.Find(math, Case::Sensitive, start);
    }
}

// Images inside <sup> and <sub> elements are moved up or down. Every image of the element is
// handled, also those that earlier insertions pushed past the closing tag's first position.
void ShiftScriptImages(TextBuffer& page, const std::string& tag, const std::string& direction)
{
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    const std::string style = "STYLE=\"position=relative; " + direction + "=4\"";
    constexpr std::string_view image = "<img ";
    std::int32_t nextImage = page.Find(image, Case::Insensitive);
    for (std::int32_t found = page.Find(open, Case::Insensitive); found >= 0 && nextImage >= 0;) {
        std::int32_t end = page.Find(close, Case::Insensitive, found + Length(open));
        if (end < 0)
            return;
        while (nextImage >= 0 && nextImage < found)
            nextImage = page.Find(image, Case::Insensitive, nextImage + 1);
        while (nextImage >= 0 && nextImage < end) {
            page.Insert(nextImage + Length(image), style);
            end += Length(style);
            nextImage = page.Find(image, Case::Insensitive, nextImage + Length(image) + Length(style));
        }
        found = page.Find(open, Case::Insensitive, end);
    }
}

// The converter's last rule before the end of the body gives way to the footer.
void InsertFooter(TextBuffer& page, const std::string& footer)
{
    const std::int32_t finalRule = page.Find("<HR>\r\n\r\n</BODY>", Case::Insensitive);
    if (finalRule >= 0) {
        page.ReplaceRange(finalRule, finalRule + 8, footer);
        return;
    }
    const std::int32_t bodyEnd = page.Find("</BODY>", Case::Insensitive);
    if (bodyEnd >= 0)
        page.Insert(bodyEnd, footer);
}

}  // namespace

void PostProcessHtmlText(TextBuffer& page, const std::string& pagePath, const DocumentSettings& settings,
                         const PostProcessTable& rules, std::vector<std::string>& externalImages,
                         const std::string& baseName)
{
    // Decided on the page as the converter wrote it; the texts of the settings are then written in
    // a form that keeps the page's charset declaration true.
    const TextEncoding pageEncoding = PageEncoding(page.Text());
    LocaliseIndexAnchors(page, pagePath, baseName);
    RemoveHeadingBreaks(page);
    page.ReplaceAll("&#160;</A>", "</A>", Case::Insensitive);
    page.ReplaceAll("BORDER=\"1\"", "CELLSPACING=0 BORDERCOLOR=BLACK BORDERCOLORDARK=WHITE BORDER=\"1\"",
                    Case::Sensitive);
    ReplaceStyleSheet(page, TextForPage(settings.styleSheet, pageEncoding));
    InsertHeadCommands(page, settings.headCommands, pageEncoding);
    ApplyEncoding(page, settings.encoding, pageEncoding);
    page.ReplaceAll("$>$", "&gt;", Case::Sensitive);
    page.ReplaceAll("$<$", "&lt;", Case::Sensitive);
    RemoveAltTexts(page);
    RemoveMathComments(page);
    ExpandRuleMarkers(page, rules, externalImages);
    ShiftScriptImages(page, "sup", "bottom");
    ShiftScriptImages(page, "sub", "top");
    InsertFooter(page, TextForPage(settings.footer, pageEncoding));
    page.ReplaceAll("<HR>", "<hr size=1>", Case::Insensitive);
}

void PostProcessHtmlPage(const DocumentationJob& job, const std::string& pagePath,
                         std::vector<std::string>& externalImages, const std::string& baseName)
{
    TextBuffer page(pagePath, utils::FileMode::Binary);
    if (!page.HasBytes())
        return;
    PostProcessHtmlText(page, pagePath, job.settings, *SharedPostProcessTable(), externalImages, baseName);
    if (!page.Save())
        utils::ThrowSystemError("failed to write file\n" + pagePath + "\n{}");
}
