#pragma once

#include "platform/frame_peer.h"
#include "platform/qt/qt_peer.h"
#include "platform/qt/qt_window_timers.h"

#include <QPointer>
#include <QToolBar>

#include <vector>

class QAction;
class QDockWidget;
class QTreeWidget;
class QLabel;
class QMainWindow;
class QMenu;

namespace platform::qt {

class FrameWidget;

// The frame as a QMainWindow: its menu bar is built from the frame's menu each time a pop-up opens
// (after the update handlers ran), tool buttons and menu entries send WM_COMMAND, the status bar
// has one label per pane, the view is the central widget and the list pane a dock below it.
class QtFrameWindow : public QtUnpaintedPeer<FramePeer> {
public:
    QtFrameWindow(QtBackend& backend, const WindowCreation& creation);
    ~QtFrameWindow() override;

    QWidget* Widget() const override;
    void AdoptChild(QWidget* child) override;

    CRect ClientRect() const override;
    CPoint ScreenOrigin() const override;
    void Show(int command) override;
    void SetText(const std::string& text) override;
    std::string Text() const override { return m_text; }
    void Enable(bool enabled) override;
    void SetFocus() override;

    void SetMenu(Menu* menu) override;
    void SetToolbar(const ToolbarResource& toolbar) override;
    void UpdateToolbar(const std::vector<ToolButtonState>& buttons) override;
    void ShowToolbar(bool visible) override;
    bool IsToolbarVisible() const override;
    void SetStatusPanes(const std::vector<StatusPaneState>& panes) override;
    void UpdateStatusPane(int index, const StatusPaneState& pane) override;
    void ShowStatusBar(bool visible) override;
    bool IsStatusBarVisible() const override;
    void SetListPane(const ListPaneState& pane) override;
    void StartTimer(UINT_PTR id, UINT milliseconds) override { m_timers.Start(id, milliseconds); }
    void StopTimer(UINT_PTR id) override { m_timers.Stop(id); }

    QMainWindow* MainWindow() const;
    QToolBar* ToolBar() const { return m_toolBar; }
    QTreeWidget* ListPane() const;

private:
    void FillPopup(QMenu& menu, std::size_t popupIndex);
    void SendCommand(UINT id);
    void CreateListPane();
    void FillListPane(const ListPaneState& pane);

    QtBackend& m_backend;
    CWnd& m_window;
    QPointer<FrameWidget> m_widget;
    std::string m_text;
    Menu* m_menu = nullptr;
    QPointer<QToolBar> m_toolBar;
    std::vector<QAction*> m_toolActions;
    std::vector<QPointer<QLabel>> m_paneLabels;
    QPointer<QDockWidget> m_listDock;
    QPointer<QTreeWidget> m_list;
    ListPaneState m_shownList;
    QtWindowTimers m_timers{m_window};
};

}  // namespace platform::qt
