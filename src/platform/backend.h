#pragma once

#include "platform/cursor.h"
#include "platform/drawing_surface.h"
#include "platform/frame_peer.h"
#include "platform/window_peer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDialog;
class CWnd;

namespace platform {

class ProfileStore;

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    UINT style = 0;
};

struct FileFilter {
    std::string description;
    std::vector<std::string> patterns;  // "*.exe"
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string initialPath;
    std::vector<FileFilter> filters;
};

// What a drag of text from a view ended with: the drop effect the target chose.
using DropEffect = DWORD;

// The window system the framework runs on. Exactly one backend exists at a time; it is current from
// its construction to its destruction, and the thread that constructs it is the user-interface
// thread.
class Backend {
public:
    Backend();
    virtual ~Backend();
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;

    // Throws std::logic_error when no backend exists.
    static Backend& Current();
    static bool Exists();

    virtual std::unique_ptr<WindowPeer> CreateWindowPeer(const WindowCreation& creation) = 0;
    virtual std::unique_ptr<FramePeer> CreateFramePeer(const WindowCreation& creation) = 0;

    // Null when the backend cannot make the font.
    virtual std::unique_ptr<FontPeer> CreateFont(const LOGFONT& description) = 0;
    // The font a window uses when it was given none.
    virtual const FontPeer& WindowFont() = 0;
    virtual std::unique_ptr<DrawingSurface> CreateBitmapSurface(CSize size) = 0;
    // Null when the icon theme has no icon of that name.
    virtual std::shared_ptr<const IconPeer> LoadThemeIcon(const std::string& name, int pixels) = 0;
    virtual std::shared_ptr<const IconPeer> LoadExecutableIcon(int pixels) = 0;
    // Horizontal and vertical dialog base units: pixels per 4 and per 8 dialog units.
    virtual CSize DialogBaseUnits() = 0;

    virtual COLORREF SystemColour(int index) = 0;
    virtual bool IsKeyDown(int virtualKey) = 0;
    virtual bool IsKeyToggled(int virtualKey) = 0;
    virtual CPoint PointerPosition() = 0;  // screen coordinates
    virtual void Beep() = 0;
    virtual void ShowCursor(HCURSOR cursor) = 0;
    virtual void SetWaitCursor(bool on) = 0;

    // Modal interaction. A message box returns the id of the pressed button (IDOK, IDYES ...).
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
    // Runs the dialog, whose window and controls exist, until CDialog::EndDialog is called.
    virtual void RunModalDialog(CDialog& dialog) = 0;
    // CDialog::EndDialog was called: the modal run is to return.
    virtual void EndModalDialog(CDialog& dialog) = 0;

    // Plain Unicode text in UTF-8; ClipboardText stops at a zero byte.
    virtual bool ClipboardHasText() = 0;
    virtual bool SetClipboardText(const std::string& text) = 0;
    virtual std::optional<std::string> ClipboardText() = 0;

    // The primary selection (the text selected last, pasted with the middle button), plain text as
    // the clipboard's.
    virtual void SetPrimarySelectionText(const std::string& text) = 0;
    virtual std::optional<std::string> PrimarySelectionText() = 0;

    // Runs a drag of `text` (UTF-8) from `source` and returns the effect the drop target chose.
    virtual DropEffect RunDragLoop(CWnd& source, const std::string& text, DropEffect allowedEffects) = 0;

    // The settings store of an application under a registry key.
    virtual std::unique_ptr<ProfileStore> OpenProfileStore(const std::string& registryKey,
                                                           const std::string& application) = 0;

    // Messages are waiting in the queue of the user-interface thread; called from any thread.
    virtual void WakeUserInterfaceThread() = 0;
    // The user-interface thread has become idle soon: update tool bars and status bars.
    virtual void ScheduleIdle() = 0;
    virtual int RunEventLoop() = 0;
    virtual void QuitEventLoop(int exitCode) = 0;
};

}  // namespace platform
