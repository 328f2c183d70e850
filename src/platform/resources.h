#pragma once

#include "platform/accelerators.h"
#include "platform/dialog_template.h"
#include "platform/geometry.h"
#include "platform/menu.h"
#include "platform/win_types.h"

#include <vector>

namespace platform {

// An image: `width` x `height` colours, row by row.
struct BitmapResource {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF Pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// A tool bar: one button per command (ID_SEPARATOR for a gap); button i shows image i of the
// bitmap strip, counting buttons only. Pixels of `transparentColour` show the bar's background.
struct ToolbarResource {
    int buttonWidth = 16;
    int buttonHeight = 15;
    UINT bitmapId = 0;
    COLORREF transparentColour = 0xC0C0C0;
    std::vector<UINT> commands;
};

// A mouse pointer image; pixels of `transparentColour` are not drawn.
struct CursorResource {
    BitmapResource image;
    CPoint hotSpot;
    COLORREF transparentColour = 0xFFFFFF;
};

// The program's resources by id. The application registers them at start-up, before it creates
// windows; the framework and the backends look them up.
namespace resources {

void AddBitmap(UINT id, BitmapResource bitmap);
void AddMenu(UINT id, Menu menu);
void AddAccelerators(UINT id, std::vector<ACCEL> entries);
void AddToolbar(UINT id, ToolbarResource toolbar);
void AddDialog(UINT id, DialogTemplate dialog);
void AddCursor(UINT id, CursorResource cursor);

// Null when there is no resource with the id.
const BitmapResource* FindBitmap(UINT id);
const Menu* FindMenu(UINT id);
const AcceleratorTable* FindAccelerators(UINT id);
const ToolbarResource* FindToolbar(UINT id);
const DialogTemplate* FindDialog(UINT id);
const CursorResource* FindCursor(UINT id);

}  // namespace resources
}  // namespace platform
