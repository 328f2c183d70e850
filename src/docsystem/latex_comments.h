#pragma once

#include <cstddef>
#include <string_view>

// Whether position lies in a LaTeX comment: going back from it on its line, a "%" that does not
// follow a backslash is met. The "%" at position itself counts.
bool IsInLatexComment(std::string_view text, std::size_t position);

// The same test for a text written from left to right, without looking back: feed every byte
// written, then ask about the byte that would come next.
class LatexCommentState {
public:
    void Feed(std::string_view bytes);
    bool IsInComment(char nextByte) const;

private:
    bool inComment_ = false;
    bool afterBackslash_ = false;
};
