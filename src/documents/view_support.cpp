#include "documents/view_support.h"

#include "buffer/document/quill_edit_doc.h"
#include "platform/dc.h"
#include "platform/resources.h"
#include "platform/wnd.h"

void PaintMarginGuide(CDC& dc, const CRect& rect, int firstColumn, int charWidth)
{
    const int x = rect.left + (MarginGuideColumn - firstColumn) * charWidth;
    if (x < rect.left || x >= rect.right)
        return;
    dc.FillSolidRect(CRect(x, rect.top, x + 1, rect.top + rect.Height() / 2), MarginGuideColour);
}

CQuillTextBuffer* DocumentBuffer(CDocument* document)
{
    auto* editorDocument = dynamic_cast<CQuillEditDoc*>(document);
    return editorDocument == nullptr ? nullptr : &editorDocument->Buffer();
}

ACCEL VirtualKeyEntry(BYTE modifiers, int virtualKey, UINT command)
{
    return ACCEL{static_cast<BYTE>(FVIRTKEY | modifiers), static_cast<WORD>(virtualKey), static_cast<WORD>(command)};
}

HACCEL LoadViewKeyTable(UINT id, const std::vector<ACCEL>& entries)
{
    if (platform::resources::FindAccelerators(id) == nullptr)
        platform::resources::AddAccelerators(id, entries);
    return LoadAccelerators(id);
}

bool TranslateViewKeys(CWnd& view, HACCEL table, MSG* message)
{
    if (message->message < WM_KEYFIRST || message->message > WM_KEYLAST || table == nullptr)
        return false;
    return TranslateAccelerator(view.GetSafeHwnd(), table, message) != 0;
}
