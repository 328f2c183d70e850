#pragma once

#include "platform/accelerators.h"
#include "platform/doc_template.h"
#include "platform/menu.h"
#include "platform/wnd.h"

#include <memory>
#include <string>

class CDocument;
class CStatusBar;
class CToolBar;
class CView;

namespace platform {
class FramePeer;
}

// What a frame needs to make its view.
struct CCreateContext {
    RuntimeClass<CView> m_pNewViewClass;
    CDocument* m_pCurrentDoc = nullptr;
};

// The top-level window: menu bar, tool bar, status bar and the view. Commands are routed to the
// active view (and its document) first, then to the frame, then to the application.
class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the window with the menu, key table and title of resource `resourceId`, and its view.
    bool LoadFrame(UINT resourceId, CCreateContext* context);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view);
    CDocument* GetActiveDocument() const;
    // Sends WM_INITIALUPDATE to the view, makes it active and shows the frame when asked.
    enum class Visibility { Keep, Show };
    void InitialUpdateFrame(CDocument* document, Visibility visibility);
    // Title "document title - application title".
    virtual void OnUpdateFrameTitle();

    // Shows a string resource or a text in the message pane (pane 0) of the status bar.
    void SetMessageText(UINT stringId);
    void SetMessageText(const std::string& text);

    platform::Menu& GetMenu() { return m_menu; }
    // Runs the update handlers of a pop-up's entries; the backend calls it before the pop-up opens.
    void OnInitMenuPopup(platform::MenuItem& popup);
    // Runs the update handlers of the tool bar buttons and status bar panes.
    void OnIdleUpdateCmdUI();

    platform::FramePeer* FramePeer() const { return m_framePeer; }

    bool OnCmdMsg(UINT id, int code, CCmdUI* commandUi) override;
    bool PreTranslateMessage(MSG* message) override;

protected:
    virtual bool OnCreateClient(CREATESTRUCT* create, CCreateContext* context);
    int OnCreate(CREATESTRUCT* create) override;
    void OnClose() override;
    void OnDestroy() override;
    void OnSetFocus(CWnd* oldWindow) override;

private:
    friend class CStatusBar;
    friend class CToolBar;
    LRESULT OnSetMessageString(WPARAM stringId, LPARAM text);
    void OnViewToolbar();
    void OnViewStatusBar();
    void OnUpdateViewToolbar(CCmdUI* commandUi);
    void OnUpdateViewStatusBar(CCmdUI* commandUi);
    void OnUpdateKeyIndicator(CCmdUI* commandUi);

    platform::FramePeer* m_framePeer = nullptr;
    CCreateContext* m_creationContext = nullptr;
    platform::Menu m_menu;
    HACCEL m_hAccelTable = nullptr;
    std::string m_strTitle;
    std::unique_ptr<CView> m_view;
    CView* m_pViewActive = nullptr;
    CStatusBar* m_statusBar = nullptr;
    CToolBar* m_toolBar = nullptr;
};
