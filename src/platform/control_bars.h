#pragma once

#include "platform/frame_peer.h"
#include "platform/win_types.h"

#include <string>
#include <vector>

class CCmdTarget;
class CFrameWnd;

constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_TOP = 0x2000;
constexpr DWORD CBRS_GRIPPER = 0x00400000;

// The frame's status bar: one pane per indicator id. Pane 0 (ID_SEPARATOR) shows messages; the
// others show their indicator's text (the string resource with the indicator id) while their
// update handler keeps them enabled, or a text set by the handler or by SetPaneText.
class CStatusBar {
public:
    bool Create(CFrameWnd* parent, UINT id = 59393);
    bool SetIndicators(const UINT* ids, int count);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    // Sets the text and shows it at once; false for a pane that does not exist.
    bool SetPaneText(int index, const std::string& text);
    std::string GetPaneText(int index) const;
    // Update handlers of the indicator panes (not pane 0), routed through `target`.
    void UpdateCmdUI(CCmdTarget* target);

private:
    friend class StatusPaneCmdUI;
    void ShowPane(int index);

    CFrameWnd* m_frame = nullptr;
    std::vector<platform::StatusPaneState> m_panes;
};

// The frame's tool bar: buttons for the commands of a tool bar resource, enabled and checked by
// their update handlers.
class CToolBar {
public:
    bool CreateEx(CFrameWnd* parent, DWORD controlStyle, DWORD style);
    bool LoadToolBar(UINT resourceId);
    void UpdateCmdUI(CCmdTarget* target);
    const std::vector<platform::ToolButtonState>& Buttons() const { return m_buttons; }

private:
    friend class ToolButtonCmdUI;
    CFrameWnd* m_frame = nullptr;
    std::vector<platform::ToolButtonState> m_buttons;
};
