#include "platform/qt/qt_dialog_window.h"

#include "platform/command_ids.h"
#include "platform/dialog_template.h"
#include "platform/wnd.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace platform::qt {
namespace {

// Labels have no mnemonics of their own here: "&&" shows one "&", a single "&" nothing.
QString LabelText(const std::string& text)
{
    QString shown;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] == '&' && index + 1 < text.size() && text[index + 1] == '&')
            ++index;
        else if (text[index] == '&')
            continue;
        shown += QString::fromLocal8Bit(text.substr(index, 1));
    }
    return shown;
}

}  // namespace

class DialogWidget : public QDialog {
public:
    DialogWidget(CWnd& window, QWidget* parent) : QDialog(parent), m_window(window) {}

protected:
    // The window's close button and Escape are the Cancel button.
    void reject() override { m_window.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

private:
    CWnd& m_window;
};

QtDialogWindow::QtDialogWindow(QtBackend&, const WindowCreation& creation) : m_template(*creation.dialog)
{
    m_widget = new DialogWidget(*creation.window, WidgetOf(creation.parent));
    m_widget->setFixedSize(creation.create.cx, creation.create.cy);
    m_widget->setModal(true);
}

QtDialogWindow::~QtDialogWindow()
{
    delete m_widget.data();
}

QWidget* QtDialogWindow::Widget() const
{
    return m_widget;
}

QDialog* QtDialogWindow::Dialog() const
{
    return m_widget;
}

QButtonGroup& QtDialogWindow::RadioGroupOf(const DialogItemTemplate& item)
{
    const auto itemIndex = static_cast<std::size_t>(&item - m_template.items.data());
    const std::size_t start = RadioGroupStart(m_template, itemIndex);
    QButtonGroup*& group = m_radioGroups[start];
    if (group == nullptr)
        group = new QButtonGroup(m_widget);
    return *group;
}

CRect QtDialogWindow::ClientRect() const
{
    return CRect(0, 0, m_widget->width(), m_widget->height());
}

CPoint QtDialogWindow::ScreenOrigin() const
{
    const QPoint origin = m_widget->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y()};
}

void QtDialogWindow::Show(int command)
{
    m_widget->setVisible(command != SW_HIDE);
}

void QtDialogWindow::SetText(const std::string& text)
{
    m_text = text;
    m_widget->setWindowTitle(QString::fromLocal8Bit(text));
}

void QtDialogWindow::Enable(bool enabled)
{
    m_widget->setEnabled(enabled);
}

void QtDialogWindow::SetFocus()
{
    m_widget->activateWindow();
}

QtControl::QtControl(QtBackend&, const WindowCreation& creation)
    : m_window(*creation.window), m_kind(creation.control->kind), m_text(creation.control->text)
{
    QWidget* parent = WidgetOf(creation.parent);
    const QString text = QString::fromLocal8Bit(m_text);
    CWnd& window = m_window;
    switch (m_kind) {
    case DialogItemKind::Label:
        m_widget = new QLabel(LabelText(m_text), parent);
        break;
    case DialogItemKind::Edit: {
        auto* edit = new QLineEdit(text, parent);
        QObject::connect(edit, &QLineEdit::textChanged, edit, [&window] { window.NotifyParent(EN_CHANGE); });
        m_widget = edit;
        break;
    }
    case DialogItemKind::CheckBox: {
        auto* box = new QCheckBox(text, parent);
        QObject::connect(box, &QCheckBox::clicked, box, [&window] { window.NotifyParent(BN_CLICKED); });
        m_widget = box;
        break;
    }
    case DialogItemKind::RadioButton: {
        auto* radio = new QRadioButton(text, parent);
        auto* dialog = dynamic_cast<QtDialogWindow*>(creation.parent);
        if (dialog != nullptr)
            m_group = &dialog->RadioGroupOf(*creation.control);
        QObject::connect(radio, &QRadioButton::clicked, radio, [&window] { window.NotifyParent(BN_CLICKED); });
        m_widget = radio;
        break;
    }
    case DialogItemKind::GroupBox:
        m_widget = new QGroupBox(LabelText(m_text), parent);
        break;
    case DialogItemKind::PushButton:
    case DialogItemKind::DefaultPushButton: {
        auto* button = new QPushButton(text, parent);
        button->setDefault(m_kind == DialogItemKind::DefaultPushButton);
        button->setAutoDefault(m_kind == DialogItemKind::DefaultPushButton);
        QObject::connect(button, &QPushButton::clicked, button, [&window] { window.NotifyParent(BN_CLICKED); });
        m_widget = button;
        break;
    }
    case DialogItemKind::Placeholder:
        m_widget = new QWidget(parent);
        break;
    }
    if (m_group != nullptr)
        m_group->addButton(static_cast<QRadioButton*>(m_widget.data()));
    m_widget->setGeometry(creation.create.x, creation.create.y, creation.create.cx, creation.create.cy);
    m_widget->setEnabled((creation.create.style & WS_DISABLED) == 0);
    if (m_kind == DialogItemKind::GroupBox)
        m_widget->lower();
}

QtControl::~QtControl()
{
    delete m_widget.data();
}

QWidget* QtControl::Widget() const
{
    return m_widget;
}

CRect QtControl::ClientRect() const
{
    return CRect(0, 0, m_widget->width(), m_widget->height());
}

CPoint QtControl::ScreenOrigin() const
{
    const QPoint origin = m_widget->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y()};
}

void QtControl::Show(int command)
{
    m_widget->setVisible(command != SW_HIDE);
}

void QtControl::SetText(const std::string& text)
{
    m_text = text;
    const QString shown = QString::fromLocal8Bit(text);
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget))
        edit->setText(shown);
    else if (auto* button = qobject_cast<QAbstractButton*>(m_widget))
        button->setText(shown);
    else if (auto* label = qobject_cast<QLabel*>(m_widget))
        label->setText(LabelText(text));
    else if (auto* group = qobject_cast<QGroupBox*>(m_widget))
        group->setTitle(LabelText(text));
}

std::string QtControl::Text() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget))
        return edit->text().toLocal8Bit().toStdString();
    return m_text;
}

void QtControl::Enable(bool enabled)
{
    m_widget->setEnabled(enabled);
}

void QtControl::SetFocus()
{
    m_widget->setFocus(Qt::OtherFocusReason);
}

void QtControl::SetCheck(int state)
{
    auto* button = qobject_cast<QAbstractButton*>(m_widget);
    if (button == nullptr)
        return;
    // An exclusive group cannot uncheck its checked button; for that moment it is not exclusive.
    const bool exclusive = m_group != nullptr && m_group->exclusive();
    if (exclusive && state == 0)
        m_group->setExclusive(false);
    button->setChecked(state != 0);
    if (exclusive && state == 0)
        m_group->setExclusive(true);
}

int QtControl::Check() const
{
    auto* button = qobject_cast<QAbstractButton*>(m_widget);
    return button != nullptr && button->isChecked() ? 1 : 0;
}

}  // namespace platform::qt
