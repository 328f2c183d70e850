#pragma once

#include "platform/dialog_template.h"
#include "platform/qt/qt_peer.h"

#include <QPointer>

#include <map>

class QButtonGroup;
class QDialog;
class QWidget;

namespace platform::qt {

class DialogWidget;

// A dialog of a template: a fixed-size QDialog. Closing it, or Escape, is the Cancel button;
// radio buttons are grouped as the template groups them.
class QtDialogWindow : public QtUnpaintedPeer<WindowPeer> {
public:
    QtDialogWindow(QtBackend& backend, const WindowCreation& creation);
    ~QtDialogWindow() override;

    QWidget* Widget() const override;
    QDialog* Dialog() const;
    // The exclusive group of a radio button of the template.
    QButtonGroup& RadioGroupOf(const DialogItemTemplate& item);

    CRect ClientRect() const override;
    CPoint ScreenOrigin() const override;
    void Show(int command) override;
    void SetText(const std::string& text) override;
    std::string Text() const override { return m_text; }
    void Enable(bool enabled) override;
    void SetFocus() override;

private:
    const DialogTemplate& m_template;
    QPointer<DialogWidget> m_widget;
    std::string m_text;
    std::map<std::size_t, QButtonGroup*> m_radioGroups;
};

// One control of a dialog, made from its template entry.
class QtControl : public QtUnpaintedPeer<WindowPeer> {
public:
    QtControl(QtBackend& backend, const WindowCreation& creation);
    ~QtControl() override;

    QWidget* Widget() const override;
    CRect ClientRect() const override;
    CPoint ScreenOrigin() const override;
    void Show(int command) override;
    void SetText(const std::string& text) override;
    std::string Text() const override;
    void Enable(bool enabled) override;
    void SetFocus() override;
    void SetCheck(int state) override;
    int Check() const override;

private:
    CWnd& m_window;
    DialogItemKind m_kind;
    QPointer<QWidget> m_widget;
    QButtonGroup* m_group = nullptr;
    std::string m_text;
};

}  // namespace platform::qt
