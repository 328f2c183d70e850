#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "documents/latex_doc.h"
#include "documents/latex_view.h"
#include "platform/clipboard.h"
#include "platform/doc_template.h"
#include "platform/qt/qt_frame_window.h"
#include "platform/qt/qt_painted_window.h"
#include "app/xdg_tree.h"
#include "utils/test_scratch_directory.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "app/gui/qt_editor_window_test.h"
#include "qt_event_pumping.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using utils::testing::WriteFile;

constexpr int MarginWidth = 20;

class MouseAndFindGuiTest : public app::testing::QtEditorWindowTest {
protected:
    void Start(const std::string& text)
    {
        const std::string path = tree / "paper.tex";
        WriteFile(path, text);
        StartEditor(path);
        if (HasFatalFailure())
            return;
        Viewport().setFocus();
        ProcessEventsFor(20);
    }

    CLatexView& View() { return dynamic_cast<CLatexView&>(*application->MainFrame()->GetActiveView()); }
    QWidget& Viewport()
    {
        auto* peer = dynamic_cast<platform::qt::QtPaintedWindow*>(View().Peer());
        return *static_cast<QAbstractScrollArea*>(peer->Widget())->viewport();
    }
    // The middle of the left half of a text cell.
    QPoint CellPoint(int column, int line)
    {
        return {MarginWidth + column * View().CharWidth() + View().CharWidth() / 4, line * View().LineHeight() + View().LineHeight() / 2};
    }
    void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint point,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, point, Viewport().mapToGlobal(point), button, buttons, modifiers);
        QApplication::sendEvent(&Viewport(), &event);
    }
    std::string SelectedText()
    {
        TextPosition start;
        TextPosition end;
        View().GetSelection(start, end);
        std::string text;
        View().GetText(start, end, text);
        return text;
    }
    std::string Line(int line) { return std::string(View().LineChars(line), static_cast<std::size_t>(View().LineLength(line))); }

    // The remembered find options come from a profile of this test alone.
    app::testing::XdgTree tree;
};

TEST_F(MouseAndFindGuiTest, MouseEventsSelectTextAndSetThePrimarySelection)
{
    Start("hello wide world\nsecond line\n");
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, CellPoint(6, 0));
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, CellPoint(3, 1));
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, CellPoint(3, 1));
    EXPECT_EQ(SelectedText(), "wide world\r\nsec");
    EXPECT_EQ(platform::clipboard::PrimarySelection(), "wide world\nsec");

    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, CellPoint(5, 1), Qt::ShiftModifier);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, CellPoint(5, 1));
    EXPECT_EQ(SelectedText(), "wide world\r\nsecon") << "shift-click moves the end and keeps the anchor";

    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, CellPoint(8, 1));
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, CellPoint(8, 1));
    Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, CellPoint(8, 1));
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, CellPoint(8, 1));
    EXPECT_EQ(SelectedText(), "line");

    Mouse(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, CellPoint(0, 0));
    Mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, CellPoint(0, 0));
    EXPECT_EQ(Line(0), "linehello wide world");
}

TEST_F(MouseAndFindGuiTest, TextDroppedFromAnotherProgramIsInserted)
{
    Start("first second\n");
    QMimeData data;
    data.setText(QString::fromUtf8("d\xC3\xA9j\xC3\xA0 "));
    const QPoint point = CellPoint(6, 0);
    QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&Viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&Viewport(), &move);
    QDropEvent drop(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&Viewport(), &drop);
    ProcessEventsFor(20);
    EXPECT_EQ(Line(0), "first d\xC3\xA9j\xC3\xA0 second");
}

TEST_F(MouseAndFindGuiTest, FindDialogIsWorkedThroughItsControls)
{
    Start("Alpha beta alpha\nbeta ALPHA\n");
    bool findNextWasDisabled = false;
    QTimer::singleShot(0, [&] {
        QDialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* candidate = qobject_cast<QDialog*>(widget); candidate != nullptr && candidate->isVisible())
                dialog = candidate;
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Find");
        QPushButton* findNext = nullptr;
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == "&Find Next")
                findNext = button;
        ASSERT_NE(findNext, nullptr);
        findNextWasDisabled = !findNext->isEnabled();
        dialog->findChild<QLineEdit*>()->setText("alpha");
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
            if (box->text() == "Match &case")
                box->click();
        findNext->click();
    });
    QKeyEvent altF3(QEvent::KeyPress, Qt::Key_F3, Qt::AltModifier);
    QApplication::sendEvent(&Viewport(), &altF3);
    ProcessEventsFor(50);
    EXPECT_TRUE(findNextWasDisabled);
    EXPECT_EQ(SelectedText(), "alpha");
    EXPECT_EQ(View().CaretPos(), (TextPosition{16, 0}));

    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(&Viewport(), &f3);
    ProcessEventsFor(20);
    EXPECT_EQ(View().CaretPos(), (TextPosition{16, 0})) << "the only match with this case, found again after wrapping";
}

}  // namespace
