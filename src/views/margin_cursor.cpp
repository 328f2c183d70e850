#include "views/margin_cursor.h"

namespace margin_cursor {
namespace {

constexpr COLORREF Transparent = RGB(255, 0, 255);
constexpr COLORREF Outline = RGB(255, 255, 255);
constexpr COLORREF Fill = RGB(0, 0, 0);
// The arrow's tip, its hot spot, at the top right.
constexpr int TipX = 20;
constexpr int TipY = 2;
constexpr int HeadSize = 12;
constexpr int ShaftLength = 14;

// Whether (x, y) lies in the arrow, `grow` pixels wider than the arrow itself (for the outline).
bool InArrow(int x, int y, int grow)
{
    // The arrow in coordinates turned by 45 degrees: `along` runs from the tip down to the left,
    // `across` at right angles to it.
    const int dx = TipX - x;
    const int dy = y - TipY;
    if (dx < -grow || dy < -grow)
        return false;
    const int along = dx + dy;
    const int across = dx - dy < 0 ? dy - dx : dx - dy;
    const bool inHead = along <= HeadSize + grow && dx >= -grow && dy >= -grow && dx <= HeadSize + grow && dy <= HeadSize + grow;
    const bool inShaft = along <= HeadSize + ShaftLength + grow && across <= 2 + grow;
    return inHead || inShaft;
}

}  // namespace

platform::CursorResource Draw()
{
    platform::CursorResource cursor;
    cursor.image.width = Size;
    cursor.image.height = Size;
    cursor.image.pixels.assign(static_cast<std::size_t>(Size * Size), Transparent);
    cursor.transparentColour = Transparent;
    cursor.hotSpot = CPoint(TipX, TipY);
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            COLORREF& pixel = cursor.image.pixels[static_cast<std::size_t>(y * Size + x)];
            if (InArrow(x, y, 0))
                pixel = Fill;
            else if (InArrow(x, y, 1))
                pixel = Outline;
        }
    }
    return cursor;
}

void Register()
{
    if (platform::resources::FindCursor(ResourceId) == nullptr)
        platform::resources::AddCursor(ResourceId, Draw());
}

}  // namespace margin_cursor
