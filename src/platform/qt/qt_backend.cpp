#include "platform/qt/qt_backend.h"

#include "platform/command_ids.h"
#include "platform/dialog.h"
#include "platform/drag_drop.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "platform/message_queue.h"
#include "platform/profile_store.h"
#include "platform/qt/qt_dialog_window.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/qt_frame_window.h"
#include "platform/qt/qt_icon.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_painted_window.h"
#include "platform/qt/qt_surface.h"
#include "platform/resources.h"
#include "platform/system_services.h"
#include "platform/virtual_keys.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDrag>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <functional>

namespace platform::qt {
namespace {

COLORREF FromQColor(const QColor& colour)
{
    return RGB(colour.red(), colour.green(), colour.blue());
}

LOGFONT WindowFontDescription()
{
    LOGFONT description;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    std::string("FixedSys").copy(description.lfFaceName, sizeof(description.lfFaceName) - 1);
    return description;
}

QCursor CursorOf(HCURSOR cursor)
{
    if (cursor != nullptr && cursor->resourceId != 0) {
        if (const CursorResource* resource = resources::FindCursor(cursor->resourceId)) {
            const QImage& image = ImageOf(resource->image, resource->transparentColour);
            return QCursor(QPixmap::fromImage(image), resource->hotSpot.x, resource->hotSpot.y);
        }
    }
    switch (cursor != nullptr ? cursor->standard : StandardCursor::Arrow) {
    case StandardCursor::IBeam:
        return QCursor(Qt::IBeamCursor);
    case StandardCursor::Wait:
        return QCursor(Qt::WaitCursor);
    case StandardCursor::Arrow:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

QMessageBox::Icon IconOf(UINT style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The buttons of a message box style with the answer each gives, in order.
std::vector<std::pair<QMessageBox::StandardButton, int>> ButtonsOf(UINT style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

QString FilterText(const std::vector<FileFilter>& filters)
{
    QStringList entries;
    for (const FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns)
            patterns << QString::fromLocal8Bit(pattern);
        entries << QString::fromLocal8Bit(filter.description) + " (" + patterns.join(' ') + ")";
    }
    return entries.join(";;");
}

}  // namespace

QtBackend::QtBackend(int& argc, char** argv)
{
    if (QApplication::instance() == nullptr)
        m_ownedApplication = std::make_unique<QApplication>(argc, argv);
    m_dispatcher = std::make_unique<QObject>();
    m_windowFont = std::make_unique<QtFont>(WindowFontDescription());
    // Any input may change what the tool bar and status bar show.
    QObject::connect(qApp, &QApplication::focusChanged, m_dispatcher.get(), [this] { ScheduleIdle(); });
}

QtBackend::~QtBackend()
{
    m_dispatcher.reset();
}

std::unique_ptr<WindowPeer> QtBackend::CreateWindowPeer(const WindowCreation& creation)
{
    switch (creation.kind) {
    case WindowKind::Dialog:
        return std::make_unique<QtDialogWindow>(*this, creation);
    case WindowKind::Control:
        return std::make_unique<QtControl>(*this, creation);
    case WindowKind::Frame:
    case WindowKind::Painted:
        break;
    }
    return std::make_unique<QtPaintedWindow>(*this, creation);
}

std::unique_ptr<FramePeer> QtBackend::CreateFramePeer(const WindowCreation& creation)
{
    return std::make_unique<QtFrameWindow>(*this, creation);
}

std::unique_ptr<FontPeer> QtBackend::CreateFont(const LOGFONT& description)
{
    return std::make_unique<QtFont>(description);
}

const FontPeer& QtBackend::WindowFont()
{
    return *m_windowFont;
}

std::unique_ptr<DrawingSurface> QtBackend::CreateBitmapSurface(CSize size)
{
    return std::make_unique<QtSurface>(size);
}

std::shared_ptr<const IconPeer> QtBackend::LoadThemeIcon(const std::string& name, int pixels)
{
    // Desktop entries name an icon of the theme, or give the path of an image file.
    const QString text = QString::fromLocal8Bit(name);
    const QIcon icon = name.starts_with('/') ? QIcon(text) : QIcon::fromTheme(text);
    if (icon.isNull() || icon.pixmap(pixels, pixels).isNull())
        return nullptr;
    return std::make_shared<QtIcon>(icon, pixels);
}

std::shared_ptr<const IconPeer> QtBackend::LoadExecutableIcon(int pixels)
{
    QIcon icon = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    return std::make_shared<QtIcon>(icon, pixels);
}

CSize QtBackend::DialogBaseUnits()
{
    const QFontMetrics metrics(QApplication::font());
    return {std::max(1, metrics.averageCharWidth()), std::max(1, metrics.height())};
}

COLORREF QtBackend::SystemColour(int index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case COLOR_WINDOW:
        return FromQColor(palette.color(QPalette::Base));
    case COLOR_WINDOWTEXT:
        return FromQColor(palette.color(QPalette::Text));
    case COLOR_SCROLLBAR:
    case COLOR_BTNFACE:
        return FromQColor(palette.color(QPalette::Button));
    case COLOR_MENU:
        return FromQColor(palette.color(QPalette::Window));
    case COLOR_HIGHLIGHT:
        return FromQColor(palette.color(QPalette::Highlight));
    case COLOR_HIGHLIGHTTEXT:
        return FromQColor(palette.color(QPalette::HighlightedText));
    case COLOR_GRAYTEXT:
        return FromQColor(palette.color(QPalette::Disabled, QPalette::Text));
    default:
        return FromQColor(palette.color(QPalette::Window));
    }
}

bool QtBackend::IsKeyDown(int virtualKey)
{
    const Qt::KeyboardModifiers modifiers = m_keyEventModifiers.value_or(QGuiApplication::queryKeyboardModifiers());
    switch (virtualKey) {
    case VK_SHIFT:
        return (modifiers & Qt::ShiftModifier) != 0;
    case VK_CONTROL:
        return (modifiers & Qt::ControlModifier) != 0;
    case VK_MENU:
        return (modifiers & Qt::AltModifier) != 0;
    case VK_LBUTTON:
        return (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
    case VK_RBUTTON:
        return (QGuiApplication::mouseButtons() & Qt::RightButton) != 0;
    default:
        return m_keysDown.contains(virtualKey);
    }
}

bool QtBackend::IsKeyToggled(int virtualKey)
{
    // Qt does not report lock states; Caps Lock is followed from its presses in our windows.
    return virtualKey == VK_CAPITAL && m_capsLockOn;
}

void QtBackend::NoteKey(const QKeyEvent& event, bool down)
{
    const auto key = static_cast<int>(VirtualKeyOf(event));
    if (key == 0)
        return;
    if (!down) {
        m_keysDown.erase(key);
        return;
    }
    m_keysDown.insert(key);
    if (key == VK_CAPITAL && !event.isAutoRepeat())
        m_capsLockOn = !m_capsLockOn;
}

void QtBackend::DeliverKeyPress(CWnd& window, const QKeyEvent& event)
{
    NoteKey(event, true);
    // The event knows its modifiers even when it did not come through the window system.
    m_keyEventModifiers = event.modifiers();
    const std::unique_ptr<void, std::function<void(void*)>> restore(this, [this](void*) { m_keyEventModifiers.reset(); });
    input::DeliverKeyPress(window, VirtualKeyOf(event), TextOf(event));
    ScheduleIdle();
}

CPoint QtBackend::PointerPosition()
{
    const QPoint position = QCursor::pos();
    return {position.x(), position.y()};
}

void QtBackend::Beep()
{
    QApplication::beep();
}

void QtBackend::SetCursorWidget(QWidget* widget)
{
    m_cursorWidget = widget;
}

void QtBackend::ShowCursor(HCURSOR cursor)
{
    if (m_cursorWidget != nullptr)
        m_cursorWidget->setCursor(CursorOf(cursor));
}

void QtBackend::SetWaitCursor(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

int QtBackend::ShowMessageBox(const MessageBoxRequest& request)
{
    QMessageBox box(IconOf(request.style), QString::fromLocal8Bit(request.caption), QString::fromLocal8Bit(request.text),
                    QMessageBox::NoButton, QApplication::activeWindow());
    const auto buttons = ButtonsOf(request.style);
    for (const auto& [button, answer] : buttons)
        box.addButton(button);
    const std::size_t defaultIndex = (request.style & MB_DEFBUTTON2) != 0 && buttons.size() > 1 ? 1 : 0;
    box.setDefaultButton(buttons[defaultIndex].first);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& [button, answer] : buttons) {
        if (button == pressed)
            return answer;
    }
    // Closed without a button: the box's escape answer.
    return buttons.size() == 1 ? IDOK : (request.style & MB_TYPEMASK) == MB_YESNO ? IDNO : IDCANCEL;
}

std::optional<std::string> QtBackend::ChooseFile(const FileDialogRequest& request)
{
    const QString initial = QString::fromLocal8Bit(request.initialPath);
    const QString filter = FilterText(request.filters);
    // Existence and replacement are asked by the framework, the same for every window system.
    const QString chosen = request.kind == FileDialogKind::Open
                               ? QFileDialog::getOpenFileName(QApplication::activeWindow(), {}, initial, filter)
                               : QFileDialog::getSaveFileName(QApplication::activeWindow(), {}, initial, filter, nullptr,
                                                              QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.toLocal8Bit().toStdString();
}

void QtBackend::RunModalDialog(CDialog& dialog)
{
    auto* peer = dynamic_cast<QtDialogWindow*>(dialog.Peer());
    if (peer == nullptr)
        return;
    QEventLoop loop;
    m_dialogLoops[&dialog] = &loop;
    peer->Dialog()->show();
    if (!dialog.IsEnding())
        loop.exec();
    m_dialogLoops.erase(&dialog);
    peer->Dialog()->hide();
}

void QtBackend::EndModalDialog(CDialog& dialog)
{
    if (auto found = m_dialogLoops.find(&dialog); found != m_dialogLoops.end())
        found->second->quit();
}

bool QtBackend::ClipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

bool QtBackend::SetClipboardText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
    return true;
}

std::optional<std::string> QtBackend::ClipboardText()
{
    if (!ClipboardHasText())
        return std::nullopt;
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtBackend::SetPrimarySelectionText(const std::string& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection())
        clipboard->setText(QString::fromUtf8(text), QClipboard::Selection);
    else
        m_ownPrimarySelection = text;
}

std::optional<std::string> QtBackend::PrimarySelectionText()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        return m_ownPrimarySelection;
    const QMimeData* data = clipboard->mimeData(QClipboard::Selection);
    if (data == nullptr || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

DropEffect QtBackend::RunDragLoop(CWnd& source, const std::string& text, DropEffect allowedEffects)
{
    auto* peer = dynamic_cast<QtPeer*>(source.Peer());
    if (peer == nullptr)
        return 0;
    auto* drag = new QDrag(peer->Widget());
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(text));
    // Some programs ask for the character set explicitly.
    data->setData(QStringLiteral("text/plain;charset=utf-8"), data->text().toUtf8());
    drag->setMimeData(data);
    Qt::DropActions actions;
    if ((allowedEffects & DROPEFFECT_COPY) != 0)
        actions |= Qt::CopyAction;
    if ((allowedEffects & DROPEFFECT_MOVE) != 0)
        actions |= Qt::MoveAction;
    switch (drag->exec(actions, Qt::CopyAction)) {
    case Qt::MoveAction:
        return DROPEFFECT_MOVE;
    case Qt::CopyAction:
        return DROPEFFECT_COPY;
    default:
        return DROPEFFECT_NONE;
    }
}

std::unique_ptr<ProfileStore> QtBackend::OpenProfileStore(const std::string& registryKey, const std::string& application)
{
    return std::make_unique<IniProfileStore>(registryKey, application);
}

void QtBackend::WakeUserInterfaceThread()
{
    // One pending wake-up is enough: it runs everything queued by then.
    if (m_wakePending.exchange(true))
        return;
    QMetaObject::invokeMethod(
        m_dispatcher.get(),
        [this] {
            m_wakePending = false;
            message_queue::ProcessPending();
            ScheduleIdle();
        },
        Qt::QueuedConnection);
}

void QtBackend::ScheduleIdle()
{
    if (m_idlePending)
        return;
    m_idlePending = true;
    QTimer::singleShot(0, m_dispatcher.get(), [this] {
        m_idlePending = false;
        input::RunIdle();
    });
}

int QtBackend::RunEventLoop()
{
    // The bars show their states from the start, before any input arrives.
    ScheduleIdle();
    return QApplication::exec();
}

void QtBackend::QuitEventLoop(int exitCode)
{
    QApplication::exit(exitCode);
}

}  // namespace platform::qt
