#pragma once

#include "buffer/quill_text_buffer.h"
#include "platform/doc_template.h"
#include "platform/frame_wnd.h"
#include "platform/headless/headless_backend.h"

namespace views_test {

// The text area a view fixture gives its view: text columns right of a margin, and rows.
struct TextArea {
    int margin;
    int columns;
    int rows;
};

// Opens `frame` from the frame resource with one view of the class, sizes the view to `area` in
// the backend's cells and binds it to `buffer`, emptied. Nothing when the frame or view is missing.
template <class View>
View* OpenViewInFrame(platform::headless::HeadlessBackend& backend, CFrameWnd& frame, UINT frameResourceId,
                      TextArea area, CQuillTextBuffer& buffer)
{
    CCreateContext context{RuntimeClassOf<View, CView>(), nullptr};
    if (!frame.LoadFrame(frameResourceId, &context))
        return nullptr;
    frame.InitialUpdateFrame(nullptr, CFrameWnd::Visibility::Show);
    auto* view = dynamic_cast<View*>(frame.GetActiveView());
    if (view == nullptr)
        return nullptr;
    backend.Resize(*view, CSize(area.margin + area.columns * platform::headless::CellWidth,
                                area.rows * platform::headless::CellHeight));
    buffer.CreateEmpty(LineEndingStyle::Lf);
    view->BindBuffer(&buffer);
    return view;
}

}  // namespace views_test
