#include "buffer/line_end_splitter.h"

#include <cstring>
#include <stdexcept>

LineEndSplitter::LineEndSplitter(LineTable& lines, std::string_view lineEnd)
    : m_lines(lines), m_first(lineEnd.front()), m_second(lineEnd.back()), m_twoBytes(lineEnd.size() == 2)
{
}

void LineEndSplitter::Feed(std::string_view block)
{
    m_twoBytes ? FeedTwoByteEnd(block) : FeedSingleByteEnd(block);
}

void LineEndSplitter::Finish()
{
    EmitLine({});
}

void LineEndSplitter::FeedSingleByteEnd(std::string_view block)
{
    std::size_t lineStart = 0;
    while (lineStart < block.size()) {
        const void* found = std::memchr(block.data() + lineStart, m_first, block.size() - lineStart);
        if (found == nullptr) {
            KeepPending(block.substr(lineStart));
            return;
        }
        const auto lineEnd = static_cast<std::size_t>(static_cast<const char*>(found) - block.data());
        EmitLine(block.substr(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
    }
}

// Only the second byte of the line end can complete a match, so the scan jumps from one occurrence
// of it to the next and works out from the bytes before it whether a match was under way.
void LineEndSplitter::FeedTwoByteEnd(std::string_view block)
{
    std::size_t lineStart = 0;
    std::size_t scanFrom = 0;
    while (true) {
        const void* found = std::memchr(block.data() + scanFrom, m_second, block.size() - scanFrom);
        if (found == nullptr) {
            m_matching = MatchingAfter(block.substr(scanFrom), m_matching);
            KeepPending(block.substr(lineStart));
            return;
        }
        const auto second = static_cast<std::size_t>(static_cast<const char*>(found) - block.data());
        const bool completesLineEnd = MatchingAfter(block.substr(scanFrom, second - scanFrom), m_matching);
        m_matching = false;
        scanFrom = second + 1;
        if (!completesLineEnd) {
            continue;
        }
        if (second == lineStart) {
            // The first byte of the line end closed the previous block.
            m_pending.pop_back();
            EmitLine({});
        } else {
            EmitLine(block.substr(lineStart, second - 1 - lineStart));
        }
        lineStart = scanFrom;
    }
}

void LineEndSplitter::EmitLine(std::string_view tail)
{
    if (m_pending.empty()) {
        m_lines.AppendLine(tail);
        return;
    }
    m_pending.append(tail);
    m_lines.AppendLine(m_pending);
    m_pending.clear();
}

void LineEndSplitter::KeepPending(std::string_view bytes)
{
    if (m_pending.size() + bytes.size() > static_cast<std::size_t>(MaximumLineLength)) {
        throw std::length_error("line too long for the text buffer");
    }
    m_pending.append(bytes);
}

// The bytes hold no second byte of the line end. Every first byte starts a match when none is under
// way and breaks the one under way otherwise; any other byte leaves no match under way.
bool LineEndSplitter::MatchingAfter(std::string_view bytes, bool matchingBefore) const
{
    std::size_t run = 0;
    while (run < bytes.size() && bytes[bytes.size() - 1 - run] == m_first) {
        ++run;
    }
    const bool oddRun = run % 2 == 1;
    if (run == bytes.size()) {
        return matchingBefore != oddRun;
    }
    return oddRun;
}
