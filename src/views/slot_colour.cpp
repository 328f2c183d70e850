#include "views/slot_colour.h"

#include "platform/system_services.h"

#include <array>

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);

// Slots 4 to 27; slots 0 to 3 are system colours.
constexpr std::array<COLORREF, 24> FixedColours = {
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 255),   RGB(0, 128, 0),   // 4-7
    RGB(128, 0, 0),     RGB(0, 0, 0),       RGB(128, 0, 128), RGB(0, 128, 192), // 8-11
    RGB(255, 0, 0),     RGB(255, 255, 0),   RGB(0, 128, 0),   RGB(255, 255, 0), // 12-15
    RGB(255, 0, 0),     RGB(255, 0, 0),     RGB(255, 0, 0),   RGB(255, 0, 0),   // 16-19
    RGB(0, 0, 255),     RGB(0, 128, 128),   RGB(192, 0, 192), RGB(192, 0, 0),   // 20-23
    RGB(128, 0, 128),   RGB(0, 0, 255),     RGB(255, 0, 0),   RGB(255, 0, 255), // 24-27
};
constexpr int FirstFixedSlot = 4;

} // namespace

COLORREF DefaultSlotColour(ColourSlot slot)
{
    switch (slot) {
    case ColourSlot::Whitespace:
    case ColourSlot::Background:
        return GetSysColor(COLOR_WINDOW);
    case ColourSlot::NormalText:
        return GetSysColor(COLOR_WINDOWTEXT);
    case ColourSlot::SelMargin:
        return GetSysColor(COLOR_SCROLLBAR);
    default:
        break;
    }
    const auto index = static_cast<int>(slot) - FirstFixedSlot;
    if (index < 0 || index >= static_cast<int>(FixedColours.size()))
        return Red;
    return FixedColours[static_cast<std::size_t>(index)];
}
