#include "docsystem/marker_expansion.h"

#include "utils/string_utils.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {

using utils::Case;
using utils::TextBuffer;

constexpr std::string_view markerRun = "8888888";
constexpr std::string_view argumentOpening = "88888889";
constexpr std::string_view argumentClosing = ".99999999";
constexpr std::int32_t runLength = static_cast<std::int32_t>(markerRun.size());
constexpr std::int32_t closingLength = static_cast<std::int32_t>(argumentClosing.size());
constexpr std::int32_t argumentStartMarker = 0;
constexpr std::int32_t argumentEndMarker = 1;

std::int32_t Length(std::string_view text)
{
    return static_cast<std::int32_t>(text.size());
}

bool IsNameCharacter(char character)
{
    return std::isalpha(static_cast<unsigned char>(character)) || character == '_';
}

bool IsDigit(char character)
{
    return std::isdigit(static_cast<unsigned char>(character));
}

// What is known about the end of the page: its last bytes hold no closing. A page whose opening
// markers lost their closings would otherwise be searched to its end once for every marker.
class ClosingFreeTail {
public:
    bool Covers(std::int32_t position, std::int32_t pageSize) const
    {
        return length_ >= 0 && pageSize - position <= length_;
    }

    void Learn(std::int32_t from, std::int32_t pageSize) { length_ = std::max(length_, std::int64_t{pageSize} - from); }

    // Called after the bytes from start up to end (before the edit) became replacement.
    void Follow(const TextBuffer& page, std::int32_t start, std::int32_t end, std::string_view replacement)
    {
        if (length_ < 0)
            return;
        const std::int64_t oldSize = page.Size() - std::int64_t{Length(replacement)} + (end - start);
        const std::int64_t oldTailStart = oldSize - length_;
        if (start < oldTailStart) {
            length_ = std::min(length_, oldSize - end);  // the tail keeps only bytes after the edit
            return;
        }
        length_ += Length(replacement) - (end - start);
        const std::int32_t tailStart = page.Size() - static_cast<std::int32_t>(length_);
        const std::int32_t windowStart = std::max(tailStart, start - closingLength + 1);
        const std::int32_t windowEnd = start + Length(replacement) + closingLength - 1;
        if (page.Substring(windowStart, windowEnd).find(argumentClosing) != std::string::npos)
            length_ = -1;
    }

private:
    std::int64_t length_ = -1;
};

class MarkerExpansion {
public:
    MarkerExpansion(TextBuffer& page, const PostProcessTable& rules, std::vector<std::string>& externalImages)
        : page_(page)
        , rules_(rules)
        , externalImages_(externalImages)
    {
    }

    void Run()
    {
        // Every expansion uses up a marker of the page. Rule texts that contain markers themselves
        // could otherwise expand for ever, so the expansions are limited to what the page can hold.
        expansionsLeft_ = 2 * CountMarkerRuns() + 16;
        std::int32_t found = page_.Find(markerRun, Case::Sensitive);
        while (found >= 0 && expansionsLeft_ > 0)
            found = page_.Find(markerRun, Case::Sensitive, ExpandAt(found));
    }

private:
    std::int64_t CountMarkerRuns() const
    {
        std::int64_t count = 0;
        for (std::int32_t found = page_.Find(markerRun, Case::Sensitive); found >= 0;
             found = page_.Find(markerRun, Case::Sensitive, found + 1))
            ++count;
        return count;
    }

    // Expands the marker whose run of "8" begins at found; returns where the search goes on.
    std::int32_t ExpandAt(std::int32_t found)
    {
        // In a longer run of "8" the marker begins with the last seven of them.
        if (page_.ByteAt(found + runLength) == '8')
            return found + 1;
        const std::int32_t idStart = found + runLength + 1;  // after the type digit
        if (idStart > page_.Size())
            return page_.Size();
        if (IsNameCharacter(page_.ByteAt(idStart)))
            return ExpandNamed(found, idStart);
        return ExpandNumbered(found, idStart);
    }

    std::int32_t SkipOptionalDot(std::int32_t position) const
    {
        return page_.ByteAt(position) == '.' ? position + 1 : position;
    }

    std::int32_t ExpandNamed(std::int32_t found, std::int32_t nameStart)
    {
        std::int32_t nameEnd = nameStart;
        while (IsNameCharacter(page_.ByteAt(nameEnd)))
            ++nameEnd;
        const PostProcessRule* rule = rules_.FindByFirstName(page_.Substring(nameStart, nameEnd));
        if (rule == nullptr)
            return found + 1;
        ReplaceMarker(found, SkipOptionalDot(nameEnd), rule->before);
        return found;
    }

    std::int32_t ExpandNumbered(std::int32_t found, std::int32_t idStart)
    {
        constexpr std::int64_t tooLarge = std::int64_t{INT32_MAX} + 1;
        std::int32_t idEnd = idStart;
        std::int64_t id = 0;
        for (; IsDigit(page_.ByteAt(idEnd)); ++idEnd)
            id = std::min(id * 10 + (page_.ByteAt(idEnd) - '0'), tooLarge);
        const std::int32_t markerEnd = SkipOptionalDot(idEnd);
        if (idEnd == idStart || id == tooLarge)
            return markerEnd;
        const PostProcessRule* rule = rules_.FindById(static_cast<std::int32_t>(id));
        if (rule == nullptr)
            return markerEnd;
        CollectExternalImage(rule->before);
        if (rule->hasArgument)
            ExpandArgument(found, markerEnd, *rule);
        else
            ReplaceMarker(found, markerEnd, rule->before);
        return found;
    }

    void Replace(std::int32_t start, std::int32_t end, std::string_view replacement)
    {
        page_.ReplaceRange(start, end, replacement);
        closingFreeTail_.Follow(page_, start, end, replacement);
    }

    void ReplaceMarker(std::int32_t start, std::int32_t end, std::string_view replacement)
    {
        Replace(start, end, replacement);
        --expansionsLeft_;
    }

    // The argument starts where the marker ends; its closing is found by counting nested openings.
    void ExpandArgument(std::int32_t found, std::int32_t markerEnd, const PostProcessRule& rule)
    {
        page_.SetMarker(argumentStartMarker, markerEnd, TextBuffer::kMoveOnInsert);
        ReplaceMarker(found, markerEnd, rule.before);
        const std::int32_t closing = FindClosing(found);
        if (closing < 0)
            return;
        Replace(closing, closing + closingLength, rule.after);
        page_.SetMarker(argumentEndMarker, closing, 0);
        StripArgumentTags();
    }

    std::int32_t FindClosing(std::int32_t from)
    {
        if (closingFreeTail_.Covers(from, page_.Size()))
            return -1;
        std::int32_t depth = 1;
        std::int32_t nextOpening = page_.Find(argumentOpening, Case::Sensitive, from);
        std::int32_t closingSearchStart = from;
        std::int32_t nextClosing = page_.Find(argumentClosing, Case::Sensitive, closingSearchStart);
        while (nextClosing >= 0) {
            if (nextOpening >= 0 && nextOpening < nextClosing) {
                ++depth;
                nextOpening = page_.Find(argumentOpening, Case::Sensitive, nextOpening + 1);
                continue;
            }
            if (--depth == 0)
                return nextClosing;
            closingSearchStart = nextClosing + 1;
            nextClosing = page_.Find(argumentClosing, Case::Sensitive, closingSearchStart);
        }
        closingFreeTail_.Learn(closingSearchStart, page_.Size());
        return -1;
    }

    // Removes the tags that lie wholly inside the argument, from its start on, until a tag reaches
    // beyond it.
    void StripArgumentTags()
    {
        for (std::int32_t open = page_.Find("<", Case::Sensitive, page_.MarkerPosition(argumentStartMarker));
             open >= 0; open = page_.Find("<", Case::Sensitive, open)) {
            const std::int32_t close = page_.Find(">", Case::Sensitive, open + 1);
            if (close < 0 || close >= page_.MarkerPosition(argumentEndMarker))
                return;
            Replace(open, close + 1, "");
        }
    }

    void CollectExternalImage(const std::string& html)
    {
        const std::size_t source = html.find("src=\"");
        if (source == std::string::npos)
            return;
        const std::size_t start = source + 5;
        std::string name = html.substr(start, html.find('"', start) - start);
        if (std::find(externalImages_.begin(), externalImages_.end(), name) == externalImages_.end())
            externalImages_.push_back(std::move(name));
    }

    TextBuffer& page_;
    const PostProcessTable& rules_;
    std::vector<std::string>& externalImages_;
    std::int64_t expansionsLeft_ = 0;
    ClosingFreeTail closingFreeTail_;
};

}  // namespace

void ExpandRuleMarkers(TextBuffer& page, const PostProcessTable& rules, std::vector<std::string>& externalImages)
{
    MarkerExpansion(page, rules, externalImages).Run();
}
