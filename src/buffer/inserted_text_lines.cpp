#include "buffer/inserted_text_lines.h"

std::vector<std::string_view> SplitInsertedText(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t carriageReturn = text.find('\r'); carriageReturn != std::string_view::npos;
         carriageReturn = text.find('\r', start)) {
        pieces.push_back(text.substr(start, carriageReturn - start));
        start = carriageReturn + 1;
        if (start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}
