#pragma once

#include "views/colour_slot.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace documents_test {

// One letter per character of the line for the slot that colours it; `slotLetter` names the slots
// of one scanner.
inline std::string SlotLetters(std::string_view line, const std::vector<ColourSpan>& spans, char (*slotLetter)(ColourSlot))
{
    std::string letters(line.size(), 'N');
    for (std::size_t index = 0; index < spans.size(); ++index) {
        const auto end = index + 1 < spans.size() ? spans[index + 1].start : static_cast<std::int32_t>(line.size());
        for (auto position = spans[index].start; position < end; ++position)
            letters[static_cast<std::size_t>(position)] = slotLetter(spans[index].slot);
    }
    return letters;
}

// A line of at most `maxLength` characters of `alphabet`.
inline std::string RandomLine(std::mt19937& generator, std::string_view alphabet, int maxLength)
{
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, maxLength);
    std::string line;
    for (int index = length(generator); index > 0; --index)
        line.push_back(alphabet[pick(generator)]);
    return line;
}

// What painting relies on: at most three spans a character, each starting inside the line, in
// non-decreasing order. Call through ASSERT_NO_FATAL_FAILURE.
inline void CheckSpanContract(std::string_view line, const std::vector<ColourSpan>& spans)
{
    ASSERT_LE(spans.size(), 3 * line.size()) << line;
    for (std::size_t index = 0; index < spans.size(); ++index) {
        ASSERT_GE(spans[index].start, 0) << line;
        ASSERT_LE(spans[index].start, static_cast<std::int32_t>(line.size())) << line;
        if (index > 0) {
            ASSERT_LE(spans[index - 1].start, spans[index].start) << line;
        }
    }
}

}  // namespace documents_test
