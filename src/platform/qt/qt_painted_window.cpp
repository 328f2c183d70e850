#include "platform/qt/qt_painted_window.h"

#include "platform/drag_drop.h"
#include "platform/input.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_scroll_bar.h"
#include "platform/qt/qt_surface.h"
#include "platform/wnd.h"

#include <QAbstractScrollArea>
#include <QGuiApplication>
#include <QDragEnterEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

#include <vector>

namespace platform::qt {
namespace {

constexpr int CaretBlinkMilliseconds = 500;
constexpr int DragScrollMilliseconds = 50;

CPoint PointOf(const QPointF& point)
{
    return {static_cast<int>(point.x()), static_cast<int>(point.y())};
}

// The MK_ flags of an event: it knows its modifiers and buttons even when it did not come through
// the window system.
DWORD KeyStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    DWORD state = 0;
    if ((modifiers & Qt::ControlModifier) != 0)
        state |= MK_CONTROL;
    if ((modifiers & Qt::ShiftModifier) != 0)
        state |= MK_SHIFT;
    if ((buttons & Qt::LeftButton) != 0)
        state |= MK_LBUTTON;
    if ((buttons & Qt::RightButton) != 0)
        state |= MK_RBUTTON;
    if ((buttons & Qt::MiddleButton) != 0)
        state |= MK_MBUTTON;
    return state;
}

Qt::DropAction ToDropAction(DROPEFFECT effect)
{
    if ((effect & DROPEFFECT_MOVE) != 0)
        return Qt::MoveAction;
    return (effect & DROPEFFECT_COPY) != 0 ? Qt::CopyAction : Qt::IgnoreAction;
}

COleDataObject DataOf(const QMimeData* mime)
{
    if (mime == nullptr || !mime->hasText())
        return COleDataObject(std::nullopt);
    return COleDataObject(mime->text().toStdString());
}

// The rectangles a region is painted in: its bounding rectangle, unless that is mostly outside it,
// as when a strip uncovered by a horizontal scroll comes with a changed line.
std::vector<QRect> PaintAreas(const QRegion& region)
{
    const QRect bounds = region.boundingRect();
    qint64 covered = 0;
    for (const QRect& part : region)
        covered += qint64{part.width()} * part.height();
    if (2 * covered >= qint64{bounds.width()} * bounds.height())
        return {bounds};
    return {region.begin(), region.end()};
}

}  // namespace

// The widget side: every event becomes the window message the framework expects.
class PaintedWidget : public QAbstractScrollArea {
public:
    PaintedWidget(QtPaintedWindow& peer, QWidget* parent) : QAbstractScrollArea(parent), m_peer(peer)
    {
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_InputMethodEnabled);
        viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
        viewport()->setAutoFillBackground(false);
        viewport()->setMouseTracking(true);
        setVerticalScrollBar(new QuietScrollBar(Qt::Vertical, this));
        setHorizontalScrollBar(new QuietScrollBar(Qt::Horizontal, this));
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // A drop target is asked to scroll again and again while a drag rests over it, as Qt
        // reports only movements.
        m_dragScroll.setInterval(DragScrollMilliseconds);
        QObject::connect(&m_dragScroll, &QTimer::timeout, this, [this] {
            if (COleDropTarget* target = COleDropTarget::ForWindow(&m_peer.m_window))
                target->OnDragScroll(&m_peer.m_window, m_dragKeys, m_dragPoint);
        });
    }

protected:
    void paintEvent(QPaintEvent* event) override { m_peer.Paint(*event); }
    void resizeEvent(QResizeEvent* event) override
    {
        QAbstractScrollArea::resizeEvent(event);
        const QSize size = viewport()->size();
        m_peer.m_window.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.width(), size.height()));
    }
    // The window scrolls itself, through ScrollWindow.
    void scrollContentsBy(int, int) override {}
    // Tab is a key for the window, not a way to the next widget.
    bool focusNextPrevChild(bool) override { return false; }

    void keyPressEvent(QKeyEvent* event) override { m_peer.m_backend.DeliverKeyPress(m_peer.m_window, *event); }
    // Text from an input method (composed characters, dead-key sequences, other scripts) arrives
    // as the characters it commits; the preedit text is the input method's own business.
    void inputMethodEvent(QInputMethodEvent* event) override
    {
        const std::u32string text = event->commitString().toStdU32String();
        if (!text.empty())
            input::DeliverComposedText(m_peer.m_window, text);
        event->accept();
        m_peer.m_backend.ScheduleIdle();
    }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override
    {
        switch (query) {
        case Qt::ImEnabled:
            return true;
        case Qt::ImCursorRectangle:
            return m_peer.CaretRect();
        default:
            return QAbstractScrollArea::inputMethodQuery(query);
        }
    }
    void keyReleaseEvent(QKeyEvent* event) override { m_peer.m_backend.NoteKey(*event, false); }
    void focusInEvent(QFocusEvent* event) override
    {
        QAbstractScrollArea::focusInEvent(event);
        CWnd::ReportFocusChange(&m_peer.m_window);
        m_peer.m_backend.ScheduleIdle();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QAbstractScrollArea::focusOutEvent(event);
        // A menu opening keeps the focus where it is.
        if (event->reason() != Qt::PopupFocusReason && CWnd::GetFocus() == &m_peer.m_window)
            CWnd::ReportFocusChange(nullptr);
    }

    void mousePressEvent(QMouseEvent* event) override { Button(*event, ButtonMessage(event->button(), WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN)); }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        Button(*event, ButtonMessage(event->button(), WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MBUTTONDOWN));
    }
    void mouseReleaseEvent(QMouseEvent* event) override { Button(*event, ButtonMessage(event->button(), WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP)); }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        m_peer.m_backend.SetCursorWidget(viewport());
        input::DeliverMouseMessage(m_peer.m_window, WM_MOUSEMOVE, KeyStateOf(event->modifiers(), event->buttons()),
                                   PointOf(event->position()));
    }
    void wheelEvent(QWheelEvent* event) override
    {
        const int delta = event->angleDelta().y();
        if (delta != 0)
            input::DeliverMouseWheel(m_peer.m_window, input::CurrentKeyFlags(), static_cast<short>(delta), PointOf(event->position()));
        event->accept();
    }
    // The release of the right button asks for the context menu itself (the window's default
    // handling); only the keyboard's request comes from here, at the point (-1, -1).
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (event->reason() == QContextMenuEvent::Keyboard)
            m_peer.m_window.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_peer.m_window.GetSafeHwnd()),
                                        MAKELPARAM(-1, -1));
        event->accept();
    }

    void dragEnterEvent(QDragEnterEvent* event) override
    {
        COleDropTarget* target = COleDropTarget::ForWindow(&m_peer.m_window);
        COleDataObject data = DataOf(event->mimeData());
        if (target == nullptr)
            return event->ignore();
        m_dragKeys = KeyStateOf(event->modifiers(), event->buttons());
        m_dragPoint = PointOf(event->position());
        m_dragScroll.start();
        Answer(*event, target->OnDragEnter(&m_peer.m_window, &data, m_dragKeys, m_dragPoint));
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        COleDropTarget* target = COleDropTarget::ForWindow(&m_peer.m_window);
        COleDataObject data = DataOf(event->mimeData());
        if (target == nullptr)
            return event->ignore();
        m_dragKeys = KeyStateOf(event->modifiers(), event->buttons());
        m_dragPoint = PointOf(event->position());
        target->OnDragScroll(&m_peer.m_window, m_dragKeys, m_dragPoint);
        Answer(*event, target->OnDragOver(&m_peer.m_window, &data, m_dragKeys, m_dragPoint));
    }
    void dragLeaveEvent(QDragLeaveEvent*) override
    {
        m_dragScroll.stop();
        if (COleDropTarget* target = COleDropTarget::ForWindow(&m_peer.m_window))
            target->OnDragLeave(&m_peer.m_window);
    }
    void dropEvent(QDropEvent* event) override
    {
        m_dragScroll.stop();
        COleDropTarget* target = COleDropTarget::ForWindow(&m_peer.m_window);
        COleDataObject data = DataOf(event->mimeData());
        const DROPEFFECT effect = event->dropAction() == Qt::MoveAction ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
        if (target == nullptr || !target->OnDrop(&m_peer.m_window, &data, effect, PointOf(event->position())))
            return event->ignore();
        event->setDropAction(ToDropAction(effect));
        event->accept();
    }

private:
    static UINT ButtonMessage(Qt::MouseButton button, UINT left, UINT right, UINT middle)
    {
        if (button == Qt::RightButton)
            return right;
        return button == Qt::MiddleButton ? middle : left;
    }
    void Button(QMouseEvent& event, UINT message)
    {
        m_peer.m_backend.SetCursorWidget(viewport());
        input::DeliverMouseMessage(m_peer.m_window, message, KeyStateOf(event.modifiers(), event.buttons()),
                                   PointOf(event.position()));
        m_peer.m_backend.ScheduleIdle();
    }
    static void Answer(QDragMoveEvent& event, DROPEFFECT effect)
    {
        if (effect == DROPEFFECT_NONE)
            return event.ignore();
        event.setDropAction(ToDropAction(effect));
        event.accept();
    }

    QtPaintedWindow& m_peer;
    QTimer m_dragScroll;
    DWORD m_dragKeys = 0;
    CPoint m_dragPoint;
};

QtPaintedWindow::QtPaintedWindow(QtBackend& backend, const WindowCreation& creation)
    : m_backend(backend), m_window(*creation.window), m_style(creation.create.style)
{
    QWidget* parent = WidgetOf(creation.parent);
    m_widget = new PaintedWidget(*this, parent);
    m_widget->setGeometry(creation.create.x, creation.create.y, creation.create.cx, creation.create.cy);
    if (auto* adopter = dynamic_cast<QtPeer*>(creation.parent))
        adopter->AdoptChild(m_widget);
    for (int bar : {SB_HORZ, SB_VERT}) {
        QScrollBar* scrollBar = bar == SB_VERT ? m_widget->verticalScrollBar() : m_widget->horizontalScrollBar();
        QObject::connect(scrollBar, &QScrollBar::actionTriggered, scrollBar,
                         [this, bar, scrollBar](int action) { ScrollBarAction(bar, *scrollBar, action); });
    }
    m_scrollBarUpdate.setSingleShot(true);
    m_scrollBarUpdate.setInterval(0);
    QObject::connect(&m_scrollBarUpdate, &QTimer::timeout, [this] {
        if (m_widget == nullptr)
            return;
        SetScrollBar(SB_HORZ);
        SetScrollBar(SB_VERT);
    });
    m_blink.setInterval(CaretBlinkMilliseconds);
    QObject::connect(&m_blink, &QTimer::timeout, [this] {
        m_caretBlinkOn = !m_caretBlinkOn;
        if (m_widget != nullptr)
            m_widget->viewport()->update(CaretRect());
    });
}

QtPaintedWindow::~QtPaintedWindow()
{
    m_blink.stop();
    m_scrollBarUpdate.stop();
    m_timers.Clear();
    delete m_widget.data();
}

QWidget* QtPaintedWindow::Widget() const
{
    return m_widget;
}

CRect QtPaintedWindow::ClientRect() const
{
    const QSize size = m_widget->viewport()->size();
    return CRect(0, 0, size.width(), size.height());
}

CPoint QtPaintedWindow::ScreenOrigin() const
{
    const QPoint origin = m_widget->viewport()->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y()};
}

void QtPaintedWindow::Show(int command)
{
    m_widget->setVisible(command != SW_HIDE);
}

void QtPaintedWindow::Enable(bool enabled)
{
    m_widget->setEnabled(enabled);
}

void QtPaintedWindow::Invalidate(const CRect* rect, bool erase)
{
    const QRect area = rect != nullptr ? QRect(rect->left, rect->top, rect->Width(), rect->Height())
                                       : m_widget->viewport()->rect();
    m_pending += area;
    m_eraseWanted = m_eraseWanted || erase;
    m_widget->viewport()->update(area);
}

void QtPaintedWindow::UpdateNow()
{
    if (!m_pending.isEmpty() && m_widget->isVisible())
        m_widget->viewport()->repaint(m_pending);
}

void QtPaintedWindow::Paint(QPaintEvent& event)
{
    QPainter painter(m_widget->viewport());
    const QSize size = m_widget->viewport()->size();
    QtSurface surface(painter, CSize(size.width(), size.height()));
    m_pending -= event.region();
    const bool erase = m_eraseWanted;
    m_eraseWanted = false;
    for (const QRect& area : PaintAreas(event.region())) {
        m_paint = {&surface, CRect(area.left(), area.top(), area.right() + 1, area.bottom() + 1), erase};
        m_window.SendMessage(WM_PAINT);
    }
    m_paint = {};
    if (m_caret.exists && m_caret.visible && m_caretBlinkOn && event.region().intersects(CaretRect())) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(CaretRect(), m_caret.grey ? QColor(128, 128, 128) : QColor(255, 255, 255));
    }
}

QRect QtPaintedWindow::CaretRect() const
{
    return QRect(m_caret.rect.left, m_caret.rect.top, m_caret.rect.Width(), m_caret.rect.Height());
}

void QtPaintedWindow::Scroll(int dx, int dy, const CRect* scrollRect, const CRect* clipRect)
{
    QRect area = m_widget->viewport()->rect();
    if (scrollRect != nullptr)
        area &= QRect(scrollRect->left, scrollRect->top, scrollRect->Width(), scrollRect->Height());
    if (clipRect != nullptr)
        area &= QRect(clipRect->left, clipRect->top, clipRect->Width(), clipRect->Height());
    // Pixels waiting to be painted are stale, and so are the caret's, which must not travel with
    // the text: wherever they go is painted again, and so is the caret's place, which other pixels
    // now cover.
    QRegion stale = m_pending & area;
    const bool caretShown = m_caret.exists && m_caret.visible && m_caretBlinkOn;
    if (caretShown)
        stale += CaretRect() & area;
    m_widget->viewport()->scroll(dx, dy, area);
    QRegion repaint(area);
    repaint -= area.translated(dx, dy) & area;
    repaint += stale.translated(dx, dy) & area;
    if (caretShown)
        repaint += CaretRect() & area;
    m_pending -= area;
    m_pending += repaint;
    // It waits for UpdateNow.
    m_widget->viewport()->update(repaint);
}

namespace {

bool Scrolls(const SCROLLINFO& info)
{
    return info.nMax - info.nMin + 1 > static_cast<int>(info.nPage) && info.nMax > info.nMin;
}

Qt::ScrollBarPolicy PolicyFor(const SCROLLINFO& info)
{
    return Scrolls(info) || (info.fMask & SIF_DISABLENOSCROLL) != 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
}

}  // namespace

void QtPaintedWindow::ShowScrollInfo(int bar, const SCROLLINFO& info)
{
    const bool wanted = (m_style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
    if (!wanted)
        return;
    m_scrollInfo[bar == SB_VERT ? 1 : 0] = info;
    const Qt::ScrollBarPolicy policy = PolicyFor(info);
    const Qt::ScrollBarPolicy current = bar == SB_VERT ? m_widget->verticalScrollBarPolicy()
                                                       : m_widget->horizontalScrollBarPolicy();
    if (policy == current) {
        // This runs on every edit. The bar follows when the event loop next turns: the text a key
        // changed is painted first, and the bar is set once however often the key moved it.
        if (!m_scrollBarUpdate.isActive())
            m_scrollBarUpdate.start();
        return;
    }
    // The bar comes or goes, and the client area changes size with it: now.
    SetScrollBar(bar);
    if (bar == SB_VERT)
        m_widget->setVerticalScrollBarPolicy(policy);
    else
        m_widget->setHorizontalScrollBarPolicy(policy);
}

void QtPaintedWindow::SetScrollBar(int bar)
{
    const std::optional<SCROLLINFO>& info = m_scrollInfo[bar == SB_VERT ? 1 : 0];
    if (!info)
        return;
    QScrollBar* scrollBar = bar == SB_VERT ? m_widget->verticalScrollBar() : m_widget->horizontalScrollBar();
    const int page = static_cast<int>(info->nPage);
    m_settingScrollBar = true;
    scrollBar->setRange(info->nMin, std::max(info->nMin, info->nMax - std::max(page - 1, 0)));
    scrollBar->setPageStep(std::max(page, 1));
    scrollBar->setSingleStep(1);
    scrollBar->setValue(info->nPos);
    scrollBar->setEnabled(Scrolls(*info));
    m_settingScrollBar = false;
}

void QtPaintedWindow::ScrollBarAction(int bar, QScrollBar& scrollBar, int action)
{
    if (m_settingScrollBar)
        return;
    UINT code = SB_ENDSCROLL;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    m_window.ReportScrollAction(bar, code, scrollBar.sliderPosition());
    // The window decided where the bar stands; Qt is not to move it further.
    m_settingScrollBar = true;
    scrollBar.setSliderPosition(m_window.GetScrollPos(bar));
    m_settingScrollBar = false;
}

void QtPaintedWindow::SetFocus()
{
    m_widget->setFocus(Qt::OtherFocusReason);
    if (m_widget->hasFocus())
        CWnd::ReportFocusChange(&m_window);
}

void QtPaintedWindow::SetCapture(bool captured)
{
    // Qt keeps sending a pressed button's moves to its widget; an explicit capture adds nothing
    // but the grab, which is only taken while a button is down.
    if (captured && QGuiApplication::mouseButtons() != Qt::NoButton)
        m_widget->viewport()->grabMouse();
    else if (!captured)
        m_widget->viewport()->releaseMouse();
}

void QtPaintedWindow::StartTimer(UINT_PTR id, UINT milliseconds)
{
    m_timers.Start(id, milliseconds);
}

void QtPaintedWindow::StopTimer(UINT_PTR id)
{
    m_timers.Stop(id);
}

void QtPaintedWindow::UpdateCaret(const CaretState& caret)
{
    const QRect before = CaretRect();
    m_caret = caret;
    m_caretBlinkOn = true;
    if (m_caret.exists && m_caret.visible)
        m_blink.start();
    else
        m_blink.stop();
    m_widget->viewport()->update(before);
    m_widget->viewport()->update(CaretRect());
}

void QtPaintedWindow::AcceptDrops(bool accept)
{
    m_widget->viewport()->setAcceptDrops(accept);
}

}  // namespace platform::qt
