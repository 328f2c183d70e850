#include "platform/qt/qt_frame_window.h"

#include "platform/command_ids.h"
#include "platform/frame_wnd.h"
#include "platform/framework_strings.h"
#include "platform/list_pane.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_surface.h"
#include "platform/resources.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace platform::qt {
namespace {

// The hint of a command: the part after "\n" of its string resource, else its menu text without
// the key name and mnemonics.
QString ToolTipOf(UINT id, const Menu* menu)
{
    const std::string prompt = LoadFrameworkString(id);
    if (const auto newline = prompt.find('\n'); newline != std::string::npos)
        return QString::fromLocal8Bit(prompt.substr(newline + 1));
    if (menu == nullptr)
        return {};
    for (const MenuItem& popup : *menu) {
        for (const MenuItem& item : popup.items) {
            if (item.kind != MenuItem::Kind::Command || item.id != id)
                continue;
            std::string text = item.text.substr(0, item.text.find('\t'));
            std::erase(text, '&');
            return QString::fromLocal8Bit(text);
        }
    }
    return {};
}

}  // namespace

class FrameWidget : public QMainWindow {
public:
    FrameWidget(QtBackend& backend, CWnd& window) : m_backend(backend), m_window(window) {}

protected:
    // Closing is the frame's decision (it may ask to save): the request becomes WM_CLOSE.
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        m_window.PostMessage(WM_CLOSE);
    }
    // A new colour scheme is the system colours changing: the frame tells its windows.
    void changeEvent(QEvent* event) override
    {
        QMainWindow::changeEvent(event);
        if (event->type() == QEvent::PaletteChange)
            m_window.SendMessage(WM_SYSCOLORCHANGE);
    }
    // Keys that reach the frame itself (no view has the focus) still go through its key table.
    void keyPressEvent(QKeyEvent* event) override
    {
        m_backend.DeliverKeyPress(m_window, *event);
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        CRect client;
        m_window.GetClientRect(&client);
        m_window.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    }

private:
    QtBackend& m_backend;
    CWnd& m_window;
};

QtFrameWindow::QtFrameWindow(QtBackend& backend, const WindowCreation& creation)
    : m_backend(backend), m_window(*creation.window)
{
    m_widget = new FrameWidget(m_backend, m_window);
    m_widget->resize(creation.create.cx, creation.create.cy);
    // The status bar takes messages only through its panes.
    m_widget->statusBar()->setSizeGripEnabled(true);
}

QtFrameWindow::~QtFrameWindow()
{
    delete m_widget.data();
}

QWidget* QtFrameWindow::Widget() const
{
    return m_widget;
}

QMainWindow* QtFrameWindow::MainWindow() const
{
    return m_widget;
}

void QtFrameWindow::AdoptChild(QWidget* child)
{
    m_widget->setCentralWidget(child);
}

CRect QtFrameWindow::ClientRect() const
{
    const QWidget* central = m_widget->centralWidget();
    const QSize size = central != nullptr ? central->size() : m_widget->size();
    return CRect(0, 0, size.width(), size.height());
}

CPoint QtFrameWindow::ScreenOrigin() const
{
    const QWidget* central = m_widget->centralWidget();
    const QPoint origin = central != nullptr ? central->mapToGlobal(QPoint(0, 0)) : m_widget->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y()};
}

void QtFrameWindow::Show(int command)
{
    m_widget->setVisible(command != SW_HIDE);
    m_backend.ScheduleIdle();
}

void QtFrameWindow::SetText(const std::string& text)
{
    m_text = text;
    m_widget->setWindowTitle(QString::fromLocal8Bit(text));
}

void QtFrameWindow::Enable(bool enabled)
{
    m_widget->setEnabled(enabled);
}

void QtFrameWindow::SetFocus()
{
    m_widget->activateWindow();
}

void QtFrameWindow::SetMenu(Menu* menu)
{
    m_menu = menu;
    QMenuBar* bar = m_widget->menuBar();
    bar->clear();
    if (menu == nullptr)
        return;
    for (std::size_t index = 0; index < menu->size(); ++index) {
        QMenu* popup = bar->addMenu(QString::fromLocal8Bit((*menu)[index].text));
        // Entries are made when the pop-up opens, after their update handlers ran.
        QObject::connect(popup, &QMenu::aboutToShow, popup, [this, popup, index] { FillPopup(*popup, index); });
        QObject::connect(popup, &QMenu::aboutToHide, popup, [this] {
            m_window.PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
            m_backend.ScheduleIdle();
        });
        FillPopup(*popup, index);
    }
}

void QtFrameWindow::FillPopup(QMenu& menu, std::size_t popupIndex)
{
    if (m_menu == nullptr || popupIndex >= m_menu->size())
        return;
    MenuItem& popup = (*m_menu)[popupIndex];
    if (auto* frame = dynamic_cast<CFrameWnd*>(&m_window))
        frame->OnInitMenuPopup(popup);
    menu.clear();
    for (const MenuItem& item : popup.items) {
        if (item.kind == MenuItem::Kind::Separator) {
            menu.addSeparator();
            continue;
        }
        if (item.kind == MenuItem::Kind::Popup)
            continue;
        QAction* action = menu.addAction(QString::fromLocal8Bit(item.text));
        action->setEnabled(item.enabled);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        const UINT id = item.id;
        QObject::connect(action, &QAction::triggered, action, [this, id] { SendCommand(id); });
        QObject::connect(action, &QAction::hovered, action, [this, id] {
            const std::string prompt = LoadFrameworkString(id);
            if (!prompt.empty())
                m_window.SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(prompt.substr(0, prompt.find('\n')).c_str()));
        });
    }
}

void QtFrameWindow::SendCommand(UINT id)
{
    m_window.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    m_backend.ScheduleIdle();
}

void QtFrameWindow::SetToolbar(const ToolbarResource& toolbar)
{
    delete m_toolBar.data();
    m_toolActions.clear();
    m_toolBar = m_widget->addToolBar(QStringLiteral("Standard"));
    m_toolBar->setIconSize(QSize(toolbar.buttonWidth, toolbar.buttonHeight));
    const BitmapResource* strip = resources::FindBitmap(toolbar.bitmapId);
    int image = 0;
    for (UINT id : toolbar.commands) {
        if (id == ID_SEPARATOR) {
            m_toolActions.push_back(m_toolBar->addSeparator());
            continue;
        }
        QAction* action = m_toolBar->addAction(ToolTipOf(id, m_menu));
        if (strip != nullptr) {
            const QImage& images = ImageOf(*strip, toolbar.transparentColour);
            action->setIcon(QIcon(QPixmap::fromImage(
                images.copy(image * toolbar.buttonWidth, 0, toolbar.buttonWidth, toolbar.buttonHeight))));
        }
        action->setToolTip(ToolTipOf(id, m_menu));
        QObject::connect(action, &QAction::triggered, action, [this, id] { SendCommand(id); });
        m_toolActions.push_back(action);
        ++image;
    }
}

void QtFrameWindow::UpdateToolbar(const std::vector<ToolButtonState>& buttons)
{
    for (std::size_t index = 0; index < buttons.size() && index < m_toolActions.size(); ++index) {
        if (buttons[index].id == ID_SEPARATOR)
            continue;
        m_toolActions[index]->setEnabled(buttons[index].enabled);
        m_toolActions[index]->setCheckable(buttons[index].checked);
        m_toolActions[index]->setChecked(buttons[index].checked);
    }
}

void QtFrameWindow::ShowToolbar(bool visible)
{
    if (m_toolBar != nullptr)
        m_toolBar->setVisible(visible);
}

bool QtFrameWindow::IsToolbarVisible() const
{
    return m_toolBar != nullptr && !m_toolBar->isHidden();
}

void QtFrameWindow::SetStatusPanes(const std::vector<StatusPaneState>& panes)
{
    for (auto& label : m_paneLabels)
        delete label.data();
    m_paneLabels.clear();
    QStatusBar* bar = m_widget->statusBar();
    for (std::size_t index = 0; index < panes.size(); ++index) {
        auto* label = new QLabel(bar);
        if (index == 0) {
            bar->addWidget(label, 1);
        } else {
            label->setFrameShape(QFrame::StyledPanel);
            label->setFrameShadow(QFrame::Sunken);
            const int textWidth = label->fontMetrics().horizontalAdvance(QString::fromLocal8Bit(panes[index].sizeText));
            label->setMinimumWidth(textWidth + 2 * label->frameWidth() + 4);
            bar->addPermanentWidget(label);
        }
        m_paneLabels.emplace_back(label);
        UpdateStatusPane(static_cast<int>(index), panes[index]);
    }
}

void QtFrameWindow::UpdateStatusPane(int index, const StatusPaneState& pane)
{
    if (index < 0 || index >= static_cast<int>(m_paneLabels.size()))
        return;
    QLabel* label = m_paneLabels[static_cast<std::size_t>(index)];
    if (label == nullptr)
        return;
    label->setText(QString::fromLocal8Bit(pane.text));
    // Set from a job's message: shown at once, not at the next pass of the event loop.
    label->repaint();
}

void QtFrameWindow::ShowStatusBar(bool visible)
{
    m_widget->statusBar()->setVisible(visible);
}

bool QtFrameWindow::IsStatusBarVisible() const
{
    return !m_widget->statusBar()->isHidden();
}

QTreeWidget* QtFrameWindow::ListPane() const
{
    return m_list;
}

void QtFrameWindow::CreateListPane()
{
    m_listDock = new QDockWidget(m_widget);
    m_listDock->setObjectName("listPane");
    // It may move to another edge or float, but not disappear: nothing would bring it back.
    m_listDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_list = new QTreeWidget(m_listDock);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Double-click and Enter both activate.
    QObject::connect(m_list, &QTreeWidget::itemActivated, m_list, [this](QTreeWidgetItem* item) {
        const int row = m_list->indexOfTopLevelItem(item);
        if (row >= 0)
            m_window.SendMessage(WM_LISTPANE_ACTIVATE, static_cast<WPARAM>(row), 0);
        m_backend.ScheduleIdle();
    });
    m_listDock->setWidget(m_list);
    m_widget->addDockWidget(Qt::BottomDockWidgetArea, m_listDock);
    // The editor keeps most of the height.
    m_widget->resizeDocks({m_listDock.data()}, {m_widget->height() / 5}, Qt::Vertical);
}

void QtFrameWindow::SetListPane(const ListPaneState& pane)
{
    if (m_list == nullptr)
        CreateListPane();
    // A new selection alone keeps the items: the activation that asked for it may still use them.
    if (pane.title != m_shownList.title || pane.columns != m_shownList.columns || pane.rows != m_shownList.rows)
        FillListPane(pane);
    m_shownList = pane;
    QTreeWidgetItem* selected = m_list->topLevelItem(pane.selectedRow);
    m_list->setCurrentItem(selected);
    if (selected != nullptr)
        m_list->scrollToItem(selected);
}

void QtFrameWindow::FillListPane(const ListPaneState& pane)
{
    m_listDock->setWindowTitle(QString::fromStdString(pane.title));
    QStringList headings;
    for (const std::string& column : pane.columns)
        headings << QString::fromStdString(column);
    m_list->setHeaderLabels(headings);
    m_list->clear();
    for (const auto& row : pane.rows) {
        QStringList cells;
        for (const std::string& cell : row)
            cells << QString::fromStdString(cell);
        m_list->addTopLevelItem(new QTreeWidgetItem(cells));
    }
    for (int column = 0; column < m_list->columnCount(); ++column)
        m_list->resizeColumnToContents(column);
}

}  // namespace platform::qt
