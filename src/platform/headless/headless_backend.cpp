#include "platform/headless/headless_backend.h"

#include "platform/command_ids.h"
#include "platform/dialog.h"
#include "platform/frame_wnd.h"
#include "platform/headless/headless_font.h"
#include "platform/headless/headless_icon.h"
#include "platform/headless/headless_window.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "platform/message_queue.h"
#include "platform/system_services.h"
#include "platform/virtual_keys.h"

#include <climits>

namespace platform::headless {
namespace {

LOGFONT SystemFontDescription()
{
    LOGFONT description;
    description.lfHeight = CellHeight;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    std::string("System").copy(description.lfFaceName, sizeof(description.lfFaceName) - 1);
    return description;
}

const std::map<int, COLORREF> DefaultSystemColours = {
    {COLOR_SCROLLBAR, RGB(200, 200, 200)}, {COLOR_MENU, RGB(240, 240, 240)},  {COLOR_WINDOW, RGB(255, 255, 255)},
    {COLOR_WINDOWTEXT, RGB(0, 0, 0)},      {COLOR_HIGHLIGHT, RGB(0, 120, 215)}, {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
    {COLOR_BTNFACE, RGB(240, 240, 240)},   {COLOR_GRAYTEXT, RGB(109, 109, 109)},
};

// Holds modifier keys down for the lifetime of the object.
class HeldModifiers {
public:
    HeldModifiers(HeadlessBackend& backend, std::initializer_list<int> keys) : m_backend(backend), m_keys(keys)
    {
        for (int key : m_keys)
            m_backend.SetKeyDown(key, true);
    }
    ~HeldModifiers()
    {
        for (int key : m_keys)
            m_backend.SetKeyDown(key, false);
    }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    HeadlessBackend& m_backend;
    std::vector<int> m_keys;
};

}  // namespace

HeadlessBackend::HeadlessBackend()
    : m_windowFont(std::make_unique<HeadlessFont>(SystemFontDescription())), m_systemColours(DefaultSystemColours)
{
}

HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<WindowPeer> HeadlessBackend::CreateWindowPeer(const WindowCreation& creation)
{
    return std::make_unique<HeadlessWindow>(*this, creation);
}

std::unique_ptr<FramePeer> HeadlessBackend::CreateFramePeer(const WindowCreation& creation)
{
    return std::make_unique<HeadlessWindow>(*this, creation);
}

std::unique_ptr<FontPeer> HeadlessBackend::CreateFont(const LOGFONT& description)
{
    if (m_refusedFaces.contains(description.lfFaceName))
        return nullptr;
    return std::make_unique<HeadlessFont>(description);
}

const FontPeer& HeadlessBackend::WindowFont()
{
    return *m_windowFont;
}

std::unique_ptr<DrawingSurface> HeadlessBackend::CreateBitmapSurface(CSize size)
{
    return std::make_unique<CellSurface>(size, RGB(0, 0, 0));
}

std::shared_ptr<const IconPeer> HeadlessBackend::LoadThemeIcon(const std::string& name, int pixels)
{
    auto found = m_themeIcons.find(name);
    if (found == m_themeIcons.end())
        return nullptr;
    return std::make_shared<HeadlessIcon>(ScaledImage(found->second, pixels));
}

std::shared_ptr<const IconPeer> HeadlessBackend::LoadExecutableIcon(int pixels)
{
    return std::make_shared<HeadlessIcon>(BitmapResource{
        pixels, pixels, std::vector<COLORREF>(static_cast<std::size_t>(pixels * pixels), ExecutableIconColour)});
}

COLORREF HeadlessBackend::SystemColour(int index)
{
    auto found = m_systemColours.find(index);
    return found == m_systemColours.end() ? RGB(0, 0, 0) : found->second;
}

void HeadlessBackend::SetSystemColour(int index, COLORREF colour)
{
    m_systemColours[index] = colour;
}

bool HeadlessBackend::IsKeyDown(int virtualKey)
{
    return m_keysDown.contains(virtualKey);
}

bool HeadlessBackend::IsKeyToggled(int virtualKey)
{
    return m_keysToggled.contains(virtualKey);
}

void HeadlessBackend::SetKeyDown(int virtualKey, bool down)
{
    if (down)
        m_keysDown.insert(virtualKey);
    else
        m_keysDown.erase(virtualKey);
}

void HeadlessBackend::SetKeyToggled(int virtualKey, bool on)
{
    if (on)
        m_keysToggled.insert(virtualKey);
    else
        m_keysToggled.erase(virtualKey);
}

int HeadlessBackend::ShowMessageBox(const MessageBoxRequest& request)
{
    std::lock_guard lock(m_scriptMutex);
    m_messageBoxes.push_back(request);
    if (!m_messageBoxAnswers.empty()) {
        const int answer = m_messageBoxAnswers.front();
        m_messageBoxAnswers.pop_front();
        return answer;
    }
    if ((request.style & MB_TYPEMASK) == MB_OK)
        return IDOK;
    throw UnscriptedInteraction("unscripted message box: " + request.text);
}

std::optional<std::string> HeadlessBackend::ChooseFile(const FileDialogRequest& request)
{
    std::lock_guard lock(m_scriptMutex);
    m_fileDialogs.push_back(request);
    if (m_fileAnswers.empty())
        throw UnscriptedInteraction("unscripted file dialog for \"" + request.initialPath + "\"");
    auto answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return answer;
}

void HeadlessBackend::RunModalDialog(CDialog& dialog)
{
    std::function<void(DialogDriver&)> script;
    {
        std::lock_guard lock(m_scriptMutex);
        auto& scripts = m_dialogScripts[dialog.TemplateId()];
        if (scripts.empty())
            throw UnscriptedInteraction("unscripted dialog " + std::to_string(dialog.TemplateId()));
        script = std::move(scripts.front());
        scripts.pop_front();
    }
    DialogDriver driver(dialog);
    script(driver);
    if (!dialog.IsEnding())
        throw UnscriptedInteraction("the script left dialog " + std::to_string(dialog.TemplateId()) + " open");
}

bool HeadlessBackend::ClipboardHasText()
{
    return m_clipboardText.has_value();
}

bool HeadlessBackend::SetClipboardText(const std::string& text)
{
    m_clipboardText = text;
    return true;
}

std::optional<std::string> HeadlessBackend::ClipboardText()
{
    return m_clipboardText;
}

void HeadlessBackend::PutNonTextOnClipboard()
{
    // Only plain text is modelled: other data means no text.
    m_clipboardText.reset();
}

DropEffect HeadlessBackend::RunDragLoop(CWnd&, const std::string& text, DropEffect allowedEffects)
{
    if (m_dragScripts.empty())
        throw UnscriptedInteraction("unscripted drag");
    const std::vector<DragStep> steps = std::move(m_dragScripts.front());
    m_dragScripts.pop_front();
    COleDataObject data(text);
    CWnd* over = nullptr;
    DROPEFFECT effect = DROPEFFECT_NONE;
    for (const DragStep& step : steps) {
        COleDropTarget* target = COleDropTarget::ForWindow(step.window);
        if (over != step.window) {
            if (COleDropTarget* left = COleDropTarget::ForWindow(over))
                left->OnDragLeave(over);
            over = step.window;
            effect = target != nullptr ? target->OnDragEnter(over, &data, step.keyState, step.point) : DROPEFFECT_NONE;
        } else if (target != nullptr) {
            target->OnDragScroll(over, step.keyState, step.point);
            effect = target->OnDragOver(over, &data, step.keyState, step.point);
        }
        effect &= allowedEffects;
        if (step.action == DragStep::Action::Cancel) {
            if (target != nullptr)
                target->OnDragLeave(over);
            return DROPEFFECT_NONE;
        }
        if (step.action == DragStep::Action::Drop) {
            if (target == nullptr || effect == DROPEFFECT_NONE) {
                if (target != nullptr)
                    target->OnDragLeave(over);
                return DROPEFFECT_NONE;
            }
            return target->OnDrop(over, &data, effect, step.point) ? effect : DROPEFFECT_NONE;
        }
    }
    throw UnscriptedInteraction("the drag script ended without a drop or a cancellation");
}

std::unique_ptr<ProfileStore> HeadlessBackend::OpenProfileStore(const std::string& registryKey,
                                                                const std::string& application)
{
    auto& values = m_profiles[{registryKey, application}];
    if (values == nullptr)
        values = std::make_shared<MemoryProfileStore::Values>();
    return std::make_unique<MemoryProfileStore>(values);
}

MemoryProfileStore::Values& HeadlessBackend::ProfileValues(const std::string& registryKey,
                                                          const std::string& application)
{
    auto& values = m_profiles[{registryKey, application}];
    if (values == nullptr)
        values = std::make_shared<MemoryProfileStore::Values>();
    return *values;
}

void HeadlessBackend::WakeUserInterfaceThread()
{
    {
        std::lock_guard lock(m_wakeMutex);
        m_woken = true;
    }
    m_wake.notify_all();
}

int HeadlessBackend::RunEventLoop()
{
    while (!m_quitRequested) {
        PumpMessages();
        RunIdle();
        std::unique_lock lock(m_wakeMutex);
        m_wake.wait(lock, [this] { return m_woken || m_quitRequested; });
        m_woken = false;
    }
    return m_exitCode;
}

void HeadlessBackend::QuitEventLoop(int exitCode)
{
    m_exitCode = exitCode;
    m_quitRequested = true;
    WakeUserInterfaceThread();
}

HeadlessWindow& HeadlessBackend::Peer(const CWnd& window) const
{
    auto* peer = dynamic_cast<HeadlessWindow*>(window.Peer());
    if (peer == nullptr)
        throw std::logic_error("the window has no native side");
    return *peer;
}

const CellSurface& HeadlessBackend::Screen(const CWnd& window)
{
    HeadlessWindow& peer = Peer(window);
    peer.UpdateNow();
    return peer.Screen();
}

void HeadlessBackend::PaintAll()
{
    // A paint may create or destroy windows: the windows are walked by handle as they were.
    std::vector<HWND> windows;
    for (HeadlessWindow* peer : m_windows)
        windows.push_back(peer->Window().GetSafeHwnd());
    for (HWND handle : windows) {
        if (CWnd* window = CWnd::FromHandle(handle))
            window->UpdateWindow();
    }
}

void HeadlessBackend::Resize(CWnd& window, CSize clientSize)
{
    Peer(window).Resize(clientSize);
}

int HeadlessBackend::PumpMessages()
{
    {
        std::lock_guard lock(m_wakeMutex);
        m_woken = false;
    }
    const int handled = message_queue::ProcessPending();
    PaintAll();
    return handled;
}

bool HeadlessBackend::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        std::unique_lock lock(m_wakeMutex);
        if (!m_wake.wait_until(lock, deadline, [this] { return m_woken; }))
            return done();
    }
}

void HeadlessBackend::RunIdle()
{
    input::RunIdle();
}

namespace {

CWnd& FocusWindow()
{
    CWnd* focus = CWnd::GetFocus();
    if (focus == nullptr)
        throw std::logic_error("no window has the keyboard focus");
    return *focus;
}

}  // namespace

void HeadlessBackend::PressKey(UINT virtualKey, std::initializer_list<int> modifiers, char32_t character)
{
    CWnd& focus = FocusWindow();
    HeldModifiers held(*this, modifiers);
    const std::u32string_view text(&character, character == 0 ? 0 : 1);
    input::DeliverKeyPress(focus, virtualKey, text);
}

void HeadlessBackend::CommitComposedText(std::u32string_view text)
{
    input::DeliverComposedText(FocusWindow(), text);
}

namespace {

// The key that types a character: letters and digits are their own codes, a few control
// characters have keys; other characters come from keys without a code of their own here (as in the
// Qt backend), so "(" can never be taken for the Down key that shares its number.
UINT KeyOfCharacter(char32_t character)
{
    if ((character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9'))
        return character;
    if (character >= 'a' && character <= 'z')
        return character - 'a' + 'A';
    switch (character) {
    case ' ':
        return VK_SPACE;
    case '\r':
        return VK_RETURN;
    case '\t':
        return VK_TAB;
    case '\b':
        return VK_BACK;
    default:
        return 0;
    }
}

}  // namespace

void HeadlessBackend::Type(std::u32string_view text)
{
    for (char32_t character : text) {
        if (character >= 'A' && character <= 'Z')
            PressKey(KeyOfCharacter(character), {VK_SHIFT}, character);
        else
            PressKey(KeyOfCharacter(character), {}, character);
    }
}

void HeadlessBackend::Type(std::string_view text)
{
    std::u32string characters;
    for (char byte : text) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            throw std::invalid_argument("Type(std::string_view) takes ASCII text; use a UTF-32 text for others");
        characters += static_cast<char32_t>(byte);
    }
    Type(characters);
}

void HeadlessBackend::MouseButton(CWnd& window, UINT message, CPoint point, std::initializer_list<int> modifiers)
{
    HeldModifiers held(*this, modifiers);
    SetPointer(window, point);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetKeyDown(VK_LBUTTON, true);
        break;
    case WM_RBUTTONDOWN:
        SetKeyDown(VK_RBUTTON, true);
        break;
    case WM_MBUTTONDOWN:
        SetKeyDown(VK_MBUTTON, true);
        break;
    case WM_LBUTTONUP:
        SetKeyDown(VK_LBUTTON, false);
        break;
    case WM_RBUTTONUP:
        SetKeyDown(VK_RBUTTON, false);
        break;
    case WM_MBUTTONUP:
        SetKeyDown(VK_MBUTTON, false);
        break;
    default:
        break;
    }
    input::DeliverMouseMessage(window, message, input::CurrentKeyFlags(), point);
}

void HeadlessBackend::MouseMove(CWnd& window, CPoint point)
{
    SetPointer(window, point);
    input::DeliverMouseMessage(window, WM_MOUSEMOVE, input::CurrentKeyFlags(), point);
}

void HeadlessBackend::MouseWheel(CWnd& window, short delta, CPoint point)
{
    SetPointer(window, point);
    input::DeliverMouseWheel(window, input::CurrentKeyFlags(), delta, point);
}

void HeadlessBackend::SetPointer(CWnd& window, CPoint point)
{
    window.ClientToScreen(&point);
    m_pointer = point;
}

void HeadlessBackend::ScrollBarAction(CWnd& window, int bar, UINT code, int trackPosition)
{
    window.ReportScrollAction(bar, code, trackPosition);
}

void HeadlessBackend::AdvanceTime(std::chrono::milliseconds duration)
{
    const long long end = m_now + duration.count();
    for (;;) {
        HeadlessWindow* next = nullptr;
        UINT_PTR nextId = 0;
        long long due = LLONG_MAX;
        for (HeadlessWindow* window : m_windows) {
            for (const auto& [id, timer] : window->Timers()) {
                if (timer.due < due) {
                    due = timer.due;
                    next = window;
                    nextId = id;
                }
            }
        }
        if (next == nullptr || due > end)
            break;
        m_now = due;
        next->FireTimer(nextId);
    }
    m_now = end;
}

MenuItem* HeadlessBackend::FindPopupHolding(Menu& menu, UINT id, std::size_t& index)
{
    for (MenuItem& popup : menu) {
        for (std::size_t position = 0; position < popup.items.size(); ++position) {
            if (popup.items[position].kind == MenuItem::Kind::Command && popup.items[position].id == id) {
                index = position;
                return &popup;
            }
        }
    }
    return nullptr;
}

const MenuItem* HeadlessBackend::OpenMenuEntry(CFrameWnd& frame, UINT id)
{
    std::size_t index = 0;
    MenuItem* popup = FindPopupHolding(frame.GetMenu(), id, index);
    if (popup != nullptr) {
        frame.OnInitMenuPopup(*popup);
    } else {
        // Entries such as the recent files appear only once their pop-up has been opened.
        for (MenuItem& each : frame.GetMenu())
            frame.OnInitMenuPopup(each);
    }
    popup = FindPopupHolding(frame.GetMenu(), id, index);
    return popup != nullptr ? &popup->items[index] : nullptr;
}

bool HeadlessBackend::ChooseMenuCommand(CFrameWnd& frame, UINT id)
{
    const MenuItem* entry = OpenMenuEntry(frame, id);
    if (entry == nullptr || !entry->enabled)
        return false;
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
}

bool HeadlessBackend::ClickToolButton(CFrameWnd& frame, UINT id)
{
    RunIdle();
    for (const ToolButtonState& button : Peer(frame).ToolButtons()) {
        if (button.id != id)
            continue;
        if (!button.enabled)
            return false;
        frame.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return true;
    }
    return false;
}

void HeadlessBackend::AnswerMessageBox(int answer)
{
    std::lock_guard lock(m_scriptMutex);
    m_messageBoxAnswers.push_back(answer);
}

void HeadlessBackend::AnswerFileDialog(std::optional<std::string> path)
{
    std::lock_guard lock(m_scriptMutex);
    m_fileAnswers.push_back(std::move(path));
}

void HeadlessBackend::ScriptDialog(UINT templateId, std::function<void(DialogDriver&)> script)
{
    std::lock_guard lock(m_scriptMutex);
    m_dialogScripts[templateId].push_back(std::move(script));
}

void HeadlessBackend::ScriptDrag(std::vector<DragStep> steps)
{
    m_dragScripts.push_back(std::move(steps));
}

void HeadlessBackend::ClearRecords()
{
    std::lock_guard lock(m_scriptMutex);
    m_messageBoxes.clear();
    m_fileDialogs.clear();
}

}  // namespace platform::headless
