#include "documents/colour_spans.h"

#include <cstdint>

void AppendColourSpan(std::vector<ColourSpan>* spans, std::size_t start, ColourSlot slot)
{
    if (spans == nullptr)
        return;
    const auto position = static_cast<std::int32_t>(start);
    if (!spans->empty() && spans->back().start > position)
        return;
    spans->push_back(ColourSpan{position, slot});
}
