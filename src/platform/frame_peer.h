#pragma once

#include "platform/menu.h"
#include "platform/resources.h"
#include "platform/window_peer.h"

#include <string>
#include <vector>

namespace platform {

struct StatusPaneState {
    UINT id = 0;
    std::string text;
    bool enabled = true;
    // The pane is as wide as this text in the status bar's font; empty for the pane that takes the
    // remaining width.
    std::string sizeText;
};

struct ToolButtonState {
    UINT id = 0;  // ID_SEPARATOR for a gap
    bool enabled = true;
    bool checked = false;
};

// A list docked below the view: a title, column headings and rows of cell texts.
struct ListPaneState {
    std::string title;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    int selectedRow = -1;  // -1: none
};

// The native side of the top-level frame: its menu bar, tool bar and status bar. Before a pop-up
// menu opens the peer calls CFrameWnd::OnInitMenuPopup for it and shows the updated entries; a
// chosen entry or tool button is sent to the frame as WM_COMMAND.
class FramePeer : public WindowPeer {
public:
    virtual void SetMenu(Menu* menu) = 0;
    virtual void SetToolbar(const ToolbarResource& toolbar) = 0;
    virtual void UpdateToolbar(const std::vector<ToolButtonState>& buttons) = 0;
    virtual void ShowToolbar(bool visible) = 0;
    virtual bool IsToolbarVisible() const = 0;
    virtual void SetStatusPanes(const std::vector<StatusPaneState>& panes) = 0;
    virtual void UpdateStatusPane(int index, const StatusPaneState& pane) = 0;
    virtual void ShowStatusBar(bool visible) = 0;
    virtual bool IsStatusBarVisible() const = 0;
    // Shows the list pane as given (made on the first call); an activated row is sent to the frame
    // as WM_LISTPANE_ACTIVATE.
    virtual void SetListPane(const ListPaneState& pane) = 0;
};

}  // namespace platform
