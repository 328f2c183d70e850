#pragma once

#include "platform/frame_peer.h"
#include "platform/headless/cell_surface.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::headless {

class HeadlessBackend;

// The in-memory side of any window. Painted windows and frames keep their client area as a cell
// surface that shows what was painted; controls keep their text and check state; frames keep their
// menu, tool bar and status bar state.
class HeadlessWindow : public FramePeer {
public:
    HeadlessWindow(HeadlessBackend& backend, const WindowCreation& creation);
    ~HeadlessWindow() override;

    CRect ClientRect() const override { return CRect(CPoint(), m_clientSize); }
    CPoint ScreenOrigin() const override;
    void Show(int command) override { m_visible = command != SW_HIDE; }
    void SetText(const std::string& text) override;
    std::string Text() const override { return m_text; }
    void Enable(bool enabled) override { m_enabled = enabled; }

    void Invalidate(const CRect* rect, bool erase) override;
    void UpdateNow() override;
    PaintContext CurrentPaint() override;
    void Scroll(int dx, int dy, const CRect* scrollRect, const CRect* clipRect) override;
    void ShowScrollInfo(int bar, const SCROLLINFO& info) override;

    void SetFocus() override;
    void SetCapture(bool captured) override { m_captured = captured; }
    void StartTimer(UINT_PTR id, UINT milliseconds) override;
    void StopTimer(UINT_PTR id) override { m_timers.erase(id); }
    void UpdateCaret(const CaretState& caret) override { m_caret = caret; }
    void AcceptDrops(bool accept) override { m_acceptsDrops = accept; }

    void SetCheck(int state) override { m_check = state; }
    int Check() const override { return m_check; }

    void SetMenu(Menu* menu) override { m_menu = menu; }
    void SetToolbar(const ToolbarResource& toolbar) override;
    void UpdateToolbar(const std::vector<ToolButtonState>& buttons) override { m_toolButtons = buttons; }
    void ShowToolbar(bool visible) override { m_toolbarVisible = visible; }
    bool IsToolbarVisible() const override { return m_toolbarVisible; }
    void SetStatusPanes(const std::vector<StatusPaneState>& panes) override { m_statusPanes = panes; }
    void UpdateStatusPane(int index, const StatusPaneState& pane) override;
    void ShowStatusBar(bool visible) override { m_statusBarVisible = visible; }
    bool IsStatusBarVisible() const override { return m_statusBarVisible; }
    void SetListPane(const ListPaneState& pane) override { m_listPane = pane; }

    // What tests inspect.
    CWnd& Window() const { return m_window; }
    WindowKind Kind() const { return m_kind; }
    const DialogItemTemplate* ControlTemplate() const { return m_control; }
    const CellSurface& Screen() const { return *m_screen; }
    CRect InvalidRect() const { return m_invalid; }
    const CaretState& Caret() const { return m_caret; }
    const SCROLLINFO& ScrollBar(int bar) const { return m_scrollBars[bar == SB_VERT ? 1 : 0]; }
    // A bar is disabled when it shows but cannot scroll (its page covers the whole range).
    bool IsScrollBarEnabled(int bar) const;
    bool IsVisible() const { return m_visible; }
    bool IsEnabled() const { return m_enabled; }
    bool IsCaptured() const { return m_captured; }
    bool AcceptsDrops() const { return m_acceptsDrops; }
    Menu* MenuModel() const { return m_menu; }
    const std::vector<ToolButtonState>& ToolButtons() const { return m_toolButtons; }
    const std::vector<StatusPaneState>& StatusPanes() const { return m_statusPanes; }
    const ListPaneState& ListPane() const { return m_listPane; }
    // What a double-click or Enter on a row of the list pane does.
    void ActivateListRow(int row);
    struct Timer {
        UINT interval = 0;
        long long due = 0;
    };
    const std::map<UINT_PTR, Timer>& Timers() const { return m_timers; }
    // The timer's period starts again and the window gets WM_TIMER.
    void FireTimer(UINT_PTR id);

    // The window's client area becomes this size: WM_SIZE and a full repaint follow.
    void Resize(CSize size);

private:
    HeadlessBackend& m_backend;
    CWnd& m_window;
    WindowKind m_kind;
    HeadlessWindow* m_parent;
    const DialogItemTemplate* m_control;
    CPoint m_position;
    CSize m_clientSize;
    std::unique_ptr<CellSurface> m_screen;
    CRect m_invalid;
    bool m_eraseWanted = false;
    bool m_painting = false;
    std::string m_text;
    bool m_visible = false;
    bool m_enabled = true;
    bool m_captured = false;
    bool m_acceptsDrops = false;
    int m_check = 0;
    SCROLLINFO m_scrollBars[2];
    CaretState m_caret;
    std::map<UINT_PTR, Timer> m_timers;
    Menu* m_menu = nullptr;
    std::vector<ToolButtonState> m_toolButtons;
    bool m_toolbarVisible = true;
    std::vector<StatusPaneState> m_statusPanes;
    bool m_statusBarVisible = true;
    ListPaneState m_listPane;
};

}  // namespace platform::headless
