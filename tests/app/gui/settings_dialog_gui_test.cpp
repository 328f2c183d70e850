// Preferences → Options in the real Qt window: the dialog's controls typed into and clicked.
#include "app/window/app_resource_ids.h"
#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "platform/messages.h"
#include "app/xdg_tree.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/gui/qt_editor_window_test.h"
#include "qt_event_pumping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

namespace {

class SettingsDialogGuiTest : public app::testing::QtEditorWindowTest {
protected:
    void SetUp() override
    {
        StartEditor("");
    }

    static QDialog* OpenDialog()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(widget); dialog != nullptr && dialog->isVisible())
                return dialog;
        return nullptr;
    }
    static QPushButton* Button(QDialog& dialog, const QString& text)
    {
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
    // Selects the edit's text and types over it with key events.
    static void TypeInto(QLineEdit& edit, const QString& text)
    {
        edit.setFocus();
        edit.selectAll();
        for (QChar character : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
            QApplication::sendEvent(&edit, &press);
        }
    }

    // The profile the dialog writes is this test's alone.
    app::testing::XdgTree tree;
};

TEST_F(SettingsDialogGuiTest, TypedValuesReachTheProfileOnOk)
{
    bool sawDialog = false;
    std::function<void()> work = [&] {
        QDialog* dialog = OpenDialog();
        if (dialog == nullptr) {
            QTimer::singleShot(10, work);
            return;
        }
        sawDialog = true;
        EXPECT_EQ(dialog->windowTitle(), "Settings");
        QList<QLineEdit*> edits = dialog->findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 5);
        QLineEdit* address = nullptr;
        QLineEdit* pdfViewer = nullptr;
        for (QLineEdit* edit : edits) {
            if (edit->text() == "localhost:3000")
                address = edit;
        }
        ASSERT_NE(address, nullptr);
        TypeInto(*address, "texserver.example:4000");
        // The viewer edits are the empty ones; the second of them, top to bottom, is PDF.
        QList<QLineEdit*> viewers;
        for (QLineEdit* edit : edits)
            if (edit->text().isEmpty())
                viewers.push_back(edit);
        ASSERT_EQ(viewers.size(), 3);
        std::sort(viewers.begin(), viewers.end(), [](QLineEdit* a, QLineEdit* b) { return a->y() < b->y(); });
        pdfViewer = viewers[1];
        TypeInto(*pdfViewer, "/usr/bin/true");
        ASSERT_NE(Button(*dialog, "OK"), nullptr);
        Button(*dialog, "OK")->click();
    };
    QTimer::singleShot(10, work);
    application->MainFrame()->PostMessage(WM_COMMAND, ID_OPTIONS);
    ProcessEventsFor(500);
    ASSERT_TRUE(sawDialog);
    EXPECT_EQ(application->GetProfileString("settings", "address"), "texserver.example:4000");
    EXPECT_EQ(application->GetProfileString("settings", "pdfviewer"), "/usr/bin/true");
}

}  // namespace
