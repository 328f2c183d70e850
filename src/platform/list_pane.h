#pragma once

#include "platform/frame_peer.h"
#include "platform/win_types.h"

#include <string>
#include <vector>

class CFrameWnd;

// Sent to the frame when the user activates a row of its list pane (double-click or Enter);
// wParam is the row.
constexpr UINT WM_LISTPANE_ACTIVATE = 0x0365;

// A list with columns docked below the frame's view. The frame decides what an activated row means.
class CListPane {
public:
    bool Create(CFrameWnd* parent, std::string title, std::vector<std::string> columns);
    // Replaces the rows; no row is selected afterwards.
    void SetRows(std::vector<std::vector<std::string>> rows);
    // Selects and shows a row; -1 selects none.
    void SelectRow(int row);
    int SelectedRow() const { return m_state.selectedRow; }
    int RowCount() const { return static_cast<int>(m_state.rows.size()); }

private:
    void Show();

    CFrameWnd* m_frame = nullptr;
    platform::ListPaneState m_state;
};
