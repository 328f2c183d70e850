#pragma once

#include "platform/backend.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <set>

class QApplication;
class QEventLoop;
class QKeyEvent;
class QWidget;

namespace platform::qt {

class QtFont;

// The real window system: Qt 6 Widgets. Constructing it makes the QApplication (unless one exists)
// and binds the calling thread as the user-interface thread.
class QtBackend : public Backend {
public:
    QtBackend(int& argc, char** argv);
    ~QtBackend() override;

    std::unique_ptr<WindowPeer> CreateWindowPeer(const WindowCreation& creation) override;
    std::unique_ptr<FramePeer> CreateFramePeer(const WindowCreation& creation) override;
    std::unique_ptr<FontPeer> CreateFont(const LOGFONT& description) override;
    const FontPeer& WindowFont() override;
    std::unique_ptr<DrawingSurface> CreateBitmapSurface(CSize size) override;
    std::shared_ptr<const IconPeer> LoadThemeIcon(const std::string& name, int pixels) override;
    std::shared_ptr<const IconPeer> LoadExecutableIcon(int pixels) override;
    CSize DialogBaseUnits() override;
    COLORREF SystemColour(int index) override;
    bool IsKeyDown(int virtualKey) override;
    bool IsKeyToggled(int virtualKey) override;
    CPoint PointerPosition() override;
    void Beep() override;
    void ShowCursor(HCURSOR cursor) override;
    void SetWaitCursor(bool on) override;
    int ShowMessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    void RunModalDialog(CDialog& dialog) override;
    void EndModalDialog(CDialog& dialog) override;
    bool ClipboardHasText() override;
    bool SetClipboardText(const std::string& text) override;
    std::optional<std::string> ClipboardText() override;
    void SetPrimarySelectionText(const std::string& text) override;
    std::optional<std::string> PrimarySelectionText() override;
    DropEffect RunDragLoop(CWnd& source, const std::string& text, DropEffect allowedEffects) override;
    std::unique_ptr<ProfileStore> OpenProfileStore(const std::string& registryKey, const std::string& application) override;
    void WakeUserInterfaceThread() override;
    void ScheduleIdle() override;
    int RunEventLoop() override;
    void QuitEventLoop(int exitCode) override;

    // Window peers report key presses (for GetKeyState) and the widget under the pointer (which
    // shows the cursor the window sets).
    void NoteKey(const QKeyEvent& event, bool down);
    // A key press for `window`: its key-down and character messages, with GetKeyState reporting
    // the event's own Shift, Ctrl and Alt state meanwhile.
    void DeliverKeyPress(CWnd& window, const QKeyEvent& event);
    void SetCursorWidget(QWidget* widget);

private:
    std::unique_ptr<QApplication> m_ownedApplication;
    std::unique_ptr<QObject> m_dispatcher;
    std::unique_ptr<QtFont> m_windowFont;
    std::atomic<bool> m_wakePending = false;
    bool m_idlePending = false;
    std::set<int> m_keysDown;
    // The modifiers of the key event being delivered; the window system's state otherwise.
    std::optional<Qt::KeyboardModifiers> m_keyEventModifiers;
    bool m_capsLockOn = false;
    QPointer<QWidget> m_cursorWidget;
    std::map<CDialog*, QEventLoop*> m_dialogLoops;
    // The primary selection where the window system has none (Wayland without it, offscreen):
    // middle-click pasting then works within the program.
    std::string m_ownPrimarySelection;
};

}  // namespace platform::qt
