// The Problems pane in the real Qt window: a dock below the editor whose rows jump to their lines on
// a double-click or Enter, giving the focus back to the editor.
#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "documents/latex_doc.h"
#include "documents/latex_view.h"
#include "platform/doc_template.h"
#include "platform/qt/qt_frame_window.h"
#include "platform/qt/qt_painted_window.h"
#include "utils/test_scratch_directory.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QTreeWidget>

#include "qt_event_pumping.h"

#include <gtest/gtest.h>

namespace {

using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;

class ProblemsPaneGuiTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(directory / "paper.tex", "\\documentclass{article}\n\\begin{document}\nA \\foo.\n\\input{part}\n\\end{document}\n");
        WriteFile(directory / "part.tex", "one\ntwo\nthree \\bar\n");
        application = std::make_unique<CEditorApp>(directory / "paper.tex");
        ASSERT_TRUE(application->InitInstance());
        ProcessEventsFor(200);
        Frame().ShowProblems({
            {ProblemSeverity::Warning, "Reference `x' undefined", directory / "paper.tex", 2},
            {ProblemSeverity::Error, "Undefined control sequence.", directory / "paper.tex", 3},
            {ProblemSeverity::Error, "Undefined control sequence.", directory / "part.tex", 3},
        });
        ProcessEventsFor(50);
    }
    void TearDown() override
    {
        if (application != nullptr && application->m_pMainWnd != nullptr)
            application->m_pMainWnd->DestroyWindow();
        application.reset();
        ProcessEventsFor(20);
    }

    CMainFrame& Frame() { return *application->MainFrame(); }
    CLatexView& View() { return dynamic_cast<CLatexView&>(*Frame().GetActiveView()); }
    platform::qt::QtFrameWindow& FramePeer() { return dynamic_cast<platform::qt::QtFrameWindow&>(*Frame().FramePeer()); }
    QTreeWidget& List() { return *FramePeer().ListPane(); }
    QWidget& Viewport()
    {
        auto* peer = dynamic_cast<platform::qt::QtPaintedWindow*>(View().Peer());
        return *static_cast<QAbstractScrollArea*>(peer->Widget())->viewport();
    }
    void DoubleClickRow(int row)
    {
        const QPoint point = List().visualItemRect(List().topLevelItem(row)).center();
        QWidget& target = *List().viewport();
        const QPoint global = target.mapToGlobal(point);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                        QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, point, global, Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(&target, &event);
        }
        ProcessEventsFor(20);
    }
    void PressKey(QWidget& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(&target, &release);
        ProcessEventsFor(20);
    }
    std::string Cell(int row, int column) { return List().topLevelItem(row)->text(column).toStdString(); }

    ScratchDirectory directory;
    std::unique_ptr<CEditorApp> application;
};

TEST_F(ProblemsPaneGuiTest, ThePaneIsADockBelowTheEditorWithErrorsFirst)
{
    auto* dock = qobject_cast<QDockWidget*>(List().parentWidget());
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(FramePeer().MainWindow()->dockWidgetArea(dock), Qt::BottomDockWidgetArea);
    EXPECT_EQ(dock->windowTitle().toStdString(), "Problems");
    ASSERT_EQ(List().topLevelItemCount(), 3);
    EXPECT_EQ(Cell(0, 0) + " " + Cell(0, 1) + ":" + Cell(0, 2), "Error paper.tex:3");
    EXPECT_EQ(Cell(1, 0) + " " + Cell(1, 1) + ":" + Cell(1, 2), "Error part.tex:3");
    EXPECT_EQ(Cell(2, 0) + " " + Cell(2, 1) + ":" + Cell(2, 2), "Warning paper.tex:2");
    EXPECT_EQ(Cell(2, 3), "Reference `x' undefined");
}

TEST_F(ProblemsPaneGuiTest, DoubleClickAndEnterJumpToTheLineAndGiveTheFocusBackToTheEditor)
{
    // The focus can only return to the editor of an active window.
    FramePeer().MainWindow()->show();
    FramePeer().MainWindow()->activateWindow();
    ProcessEventsFor(200);
    DoubleClickRow(2);
    EXPECT_EQ(View().CaretPos(), (TextPosition{0, 1}));
    EXPECT_TRUE(Viewport().hasFocus());
    EXPECT_EQ(List().currentItem(), List().topLevelItem(2));

    List().setFocus();
    List().setCurrentItem(List().topLevelItem(0));
    PressKey(List(), Qt::Key_Return);
    EXPECT_EQ(View().CaretPos(), (TextPosition{0, 2}));
    EXPECT_TRUE(Viewport().hasFocus());

    // F4 in the editor goes on to the problem in the other file, which opens (nothing to save).
    PressKey(Viewport(), Qt::Key_F4);
    EXPECT_EQ(View().GetDocument()->GetPathName(), directory / "part.tex");
    EXPECT_EQ(View().CaretPos(), (TextPosition{0, 2}));
    EXPECT_EQ(List().currentItem(), List().topLevelItem(1));
    PressKey(Viewport(), Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_EQ(View().GetDocument()->GetPathName(), directory / "paper.tex");
    EXPECT_EQ(List().currentItem(), List().topLevelItem(0));
}

}  // namespace
