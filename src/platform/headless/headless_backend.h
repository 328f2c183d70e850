#pragma once

#include "platform/backend.h"
#include "platform/drag_drop.h"
#include "platform/headless/cell_surface.h"
#include "platform/headless/dialog_driver.h"
#include "platform/headless/unscripted_interaction.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/memory_profile_store.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>

class CFrameWnd;

namespace platform::headless {


// One step of a scripted drag: the pointer over a window (client coordinates) with keys held, and
// whether the button is released there.
struct DragStep {
    CWnd* window = nullptr;
    CPoint point;
    DWORD keyState = 0;
    enum class Action { Move, Drop, Cancel } action = Action::Move;
};

// The in-memory window system of the tests: deterministic, no display. Cells are 8 x 16 pixels for
// every font; windows paint into cell surfaces; interaction the program asks for (message boxes,
// file dialogs, dialogs, drags) is answered from scripts, and an unscripted one throws
// UnscriptedInteraction (a message box with only an OK button is answered OK).
class HeadlessBackend : public Backend {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    // Backend
    std::unique_ptr<WindowPeer> CreateWindowPeer(const WindowCreation& creation) override;
    std::unique_ptr<FramePeer> CreateFramePeer(const WindowCreation& creation) override;
    std::unique_ptr<FontPeer> CreateFont(const LOGFONT& description) override;
    const FontPeer& WindowFont() override;
    std::unique_ptr<DrawingSurface> CreateBitmapSurface(CSize size) override;
    std::shared_ptr<const IconPeer> LoadThemeIcon(const std::string& name, int pixels) override;
    std::shared_ptr<const IconPeer> LoadExecutableIcon(int pixels) override;
    CSize DialogBaseUnits() override { return {CellWidth, CellHeight}; }
    COLORREF SystemColour(int index) override;
    bool IsKeyDown(int virtualKey) override;
    bool IsKeyToggled(int virtualKey) override;
    CPoint PointerPosition() override { return m_pointer; }
    void Beep() override { ++m_beeps; }
    void ShowCursor(HCURSOR cursor) override { m_cursor = cursor; }
    void SetWaitCursor(bool on) override { m_waitCursor = on; }
    int ShowMessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    void RunModalDialog(CDialog& dialog) override;
    // A dialog's run is its script, which returns by itself.
    void EndModalDialog(CDialog&) override {}
    bool ClipboardHasText() override;
    bool SetClipboardText(const std::string& text) override;
    std::optional<std::string> ClipboardText() override;
    void SetPrimarySelectionText(const std::string& text) override { m_primarySelection = text; }
    std::optional<std::string> PrimarySelectionText() override { return m_primarySelection; }
    DropEffect RunDragLoop(CWnd& source, const std::string& text, DropEffect allowedEffects) override;
    std::unique_ptr<ProfileStore> OpenProfileStore(const std::string& registryKey, const std::string& application) override;
    void WakeUserInterfaceThread() override;
    // Idle time is when a test says so (RunIdle).
    void ScheduleIdle() override {}
    int RunEventLoop() override;
    void QuitEventLoop(int exitCode) override;

    // The native side of a window.
    HeadlessWindow& Peer(const CWnd& window) const;
    // What the window shows now (paints pending invalid areas first).
    const CellSurface& Screen(const CWnd& window);
    // Paints every window with an invalid area.
    void PaintAll();
    void Resize(CWnd& window, CSize clientSize);

    // Messages waiting for the user-interface thread run, then windows paint.
    int PumpMessages();
    // Pumps until `done` holds or the time is up; returns whether it holds.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    void RunIdle();
    bool QuitRequested() const { return m_quitRequested; }

    // Input. Key state is what GetKeyState reports; PressKey delivers to the focus window.
    void SetKeyDown(int virtualKey, bool down);
    void SetKeyToggled(int virtualKey, bool on);
    // Holds the modifiers (VK_SHIFT, VK_CONTROL, VK_MENU) while the key is pressed.
    // `character` is the Unicode character the key types (0 for none).
    void PressKey(UINT virtualKey, std::initializer_list<int> modifiers = {}, char32_t character = 0);
    // One key press per character; capital letters with Shift held.
    void Type(std::u32string_view text);
    // ASCII text only (throws std::invalid_argument otherwise).
    void Type(std::string_view text);
    // An input method's composed text reaches the focus window.
    void CommitComposedText(std::u32string_view text);
    void MouseButton(CWnd& window, UINT message, CPoint point, std::initializer_list<int> modifiers = {});
    void MouseMove(CWnd& window, CPoint point);
    void MouseWheel(CWnd& window, short delta, CPoint point);
    void SetPointer(CWnd& window, CPoint point);
    // The user works a scroll bar of the window.
    void ScrollBarAction(CWnd& window, int bar, UINT code, int trackPosition = 0);
    // Moves the clock on, firing timers in order.
    void AdvanceTime(std::chrono::milliseconds duration);
    long long Now() const { return m_now; }
    void SetSystemColour(int index, COLORREF colour);
    // The icon theme gets an icon of this name (any size: it is scaled to the size asked for).
    void AddThemeIcon(const std::string& name, BitmapResource image) { m_themeIcons[name] = std::move(image); }
    // Font creation fails for this face name.
    void RefuseFontFace(const std::string& face) { m_refusedFaces.insert(face); }

    // Menus: opens the pop-up that holds the command (running its update handlers) and chooses
    // the entry; false when the entry is disabled or missing.
    bool ChooseMenuCommand(CFrameWnd& frame, UINT id);
    // The entry as it is shown after its pop-up was opened; null when missing.
    const MenuItem* OpenMenuEntry(CFrameWnd& frame, UINT id);
    bool ClickToolButton(CFrameWnd& frame, UINT id);

    // Scripts, used in order.
    void AnswerMessageBox(int answer);
    void AnswerFileDialog(std::optional<std::string> path);
    void ScriptDialog(UINT templateId, std::function<void(DialogDriver&)> script);
    void ScriptDrag(std::vector<DragStep> steps);
    const std::vector<MessageBoxRequest>& MessageBoxes() const { return m_messageBoxes; }
    const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileDialogs; }
    void ClearRecords();

    void PutNonTextOnClipboard();
    MemoryProfileStore::Values& ProfileValues(const std::string& registryKey, const std::string& application);

    int Beeps() const { return m_beeps; }
    HCURSOR Cursor() const { return m_cursor; }
    bool WaitCursorShown() const { return m_waitCursor; }

private:
    friend class HeadlessWindow;
    void Register(HeadlessWindow* window) { m_windows.insert(window); }
    void Unregister(HeadlessWindow* window) { m_windows.erase(window); }
    MenuItem* FindPopupHolding(Menu& menu, UINT id, std::size_t& index);

    std::set<HeadlessWindow*> m_windows;
    std::unique_ptr<FontPeer> m_windowFont;
    std::map<int, COLORREF> m_systemColours;
    std::set<int> m_keysDown;
    std::set<int> m_keysToggled;
    std::set<std::string> m_refusedFaces;
    std::map<std::string, BitmapResource> m_themeIcons;
    CPoint m_pointer;
    long long m_now = 0;
    int m_beeps = 0;
    HCURSOR m_cursor = nullptr;
    bool m_waitCursor = false;

    std::mutex m_scriptMutex;
    std::deque<int> m_messageBoxAnswers;
    std::vector<MessageBoxRequest> m_messageBoxes;
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::vector<FileDialogRequest> m_fileDialogs;
    std::map<UINT, std::deque<std::function<void(DialogDriver&)>>> m_dialogScripts;
    std::deque<std::vector<DragStep>> m_dragScripts;

    std::optional<std::string> m_clipboardText;
    std::optional<std::string> m_primarySelection;
    std::map<std::pair<std::string, std::string>, std::shared_ptr<MemoryProfileStore::Values>> m_profiles;

    std::mutex m_wakeMutex;
    std::condition_variable m_wake;
    bool m_woken = false;
    bool m_quitRequested = false;
    int m_exitCode = 0;
};

}  // namespace platform::headless
