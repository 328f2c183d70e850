#include "docsystem/latex_comments.h"

namespace {

bool StartsComment(std::string_view text, std::size_t position)
{
    return text[position] == '%' && (position == 0 || text[position - 1] != '\\');
}

}  // namespace

bool IsInLatexComment(std::string_view text, std::size_t position)
{
    if (position >= text.size())
        return false;
    for (std::size_t index = position + 1; index-- > 0;) {
        if (text[index] == '\n')
            return false;
        if (StartsComment(text, index))
            return true;
    }
    return false;
}

void LatexCommentState::Feed(std::string_view bytes)
{
    for (const char byte : bytes) {
        if (byte == '\n')
            inComment_ = false;
        else if (byte == '%' && !afterBackslash_)
            inComment_ = true;
        afterBackslash_ = byte == '\\';
    }
}

bool LatexCommentState::IsInComment(char nextByte) const
{
    return inComment_ || (nextByte == '%' && !afterBackslash_);
}
