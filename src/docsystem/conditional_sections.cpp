#include "docsystem/conditional_sections.h"

#include "utils/string_utils.h"

#include <algorithm>

namespace {

constexpr std::string_view sectionBegin = "\n%begin{";
constexpr std::string_view sectionEnd = "\n%end";

std::string_view OutputKind(OutputMode mode)
{
    switch (mode) {
    case OutputMode::PostScript:
        return "ps";
    case OutputMode::Pdf:
        return "pdf";
    case OutputMode::Html:
        return "html";
    }
    return {};
}

enum class SectionResult { Continue, Stop };

// Handles the section whose begin line starts with the LF at position.
SectionResult ApplySection(std::string& text, SourceLineMap& lines, std::size_t position, std::string_view kind)
{
    const std::size_t listStart = position + sectionBegin.size();
    const std::size_t listEnd = std::min(text.find_first_of(std::string(utils::kWhitespace) + "}", listStart),
                                         text.size());
    if (listEnd == text.size() || text[listEnd] != '}')
        return SectionResult::Stop;
    const std::vector<std::string> kinds = utils::SplitFields(text.substr(listStart, listEnd - listStart), ',');
    if (std::find(kinds.begin(), kinds.end(), kind) != kinds.end())
        return SectionResult::Continue;

    const std::size_t lineEnd = text.find_first_of("\r\n", listEnd);
    if (lineEnd == std::string::npos)
        return SectionResult::Stop;
    const std::size_t bodyStart = lineEnd + utils::LineBreakLengthAt(text, lineEnd);
    // The search starts at the begin line's last byte, so that an "%end" line right after the
    // begin line closes an empty section instead of the next section's "%end".
    const std::size_t closing = text.find(sectionEnd, bodyStart - 1);
    if (closing == std::string::npos)
        return SectionResult::Stop;
    const std::string_view body(text.data() + bodyStart, closing + 1 - bodyStart);
    lines.RemoveLines(LineBreakCount(std::string_view(text.data(), bodyStart)), LineBreakCount(body));
    text.erase(bodyStart, body.size());
    return SectionResult::Continue;
}

}  // namespace

void ApplyConditionalSections(std::string& text, SourceLineMap& lines, OutputMode mode)
{
    const std::string_view kind = OutputKind(mode);
    for (std::size_t found = text.find(sectionBegin); found != std::string::npos;
         found = text.find(sectionBegin, found + sectionBegin.size())) {
        if (ApplySection(text, lines, found, kind) == SectionResult::Stop)
            return;
    }
}
