#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "buffer/undo_action.h"
#include "documents/latex_doc.h"
#include "documents/latex_view.h"
#include "platform/doc_template.h"
#include "platform/qt/qt_frame_window.h"
#include "platform/qt/qt_painted_window.h"
#include "utils/test_scratch_directory.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QWheelEvent>

#include "qt_event_pumping.h"

#include <gtest/gtest.h>

namespace {

using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;

constexpr int MarginWidth = 20;
const QColor Keyword(0, 0, 255);
const QColor Comment(0, 128, 0);

class EditorWindowGuiTest : public testing::Test {
protected:
    void TearDown() override
    {
        if (application != nullptr && application->m_pMainWnd != nullptr)
            application->m_pMainWnd->DestroyWindow();
        application.reset();
        ProcessEventsFor(20);
    }

    void Start(const std::string& path)
    {
        application = std::make_unique<CEditorApp>(path);
        ASSERT_TRUE(application->InitInstance());
        ProcessEventsFor(200);
    }

    QMainWindow& MainWindow()
    {
        return *static_cast<platform::qt::QtFrameWindow*>(application->MainFrame()->FramePeer())->MainWindow();
    }
    CLatexView& View() { return dynamic_cast<CLatexView&>(*application->MainFrame()->GetActiveView()); }
    QAbstractScrollArea& ScrollArea()
    {
        return *static_cast<QAbstractScrollArea*>(dynamic_cast<platform::qt::QtPaintedWindow*>(View().Peer())->Widget());
    }
    QImage ViewImage() { return ScrollArea().viewport()->grab().toImage(); }
    CLatexDoc& Document() { return dynamic_cast<CLatexDoc&>(*application->DocTemplate()->GetDocument()); }
    int CharWidth() { return View().CharWidth(); }
    int LineHeight() { return View().LineHeight(); }

    // How many pixels of the colour lie in the cells of columns [first, last) of a line.
    int PixelsOf(const QImage& image, const QColor& colour, int line, int first, int last)
    {
        int count = 0;
        for (int y = line * LineHeight(); y < (line + 1) * LineHeight(); ++y)
            for (int x = MarginWidth + first * CharWidth(); x < MarginWidth + last * CharWidth(); ++x)
                count += image.pixelColor(x, y) == colour ? 1 : 0;
        return count;
    }

    QAction* MenuAction(const QString& menuTitle, const QString& entryStart)
    {
        for (QAction* top : MainWindow().menuBar()->actions()) {
            if (top->text() != menuTitle || top->menu() == nullptr)
                continue;
            emit top->menu()->aboutToShow();
            for (QAction* entry : top->menu()->actions())
                if (entry->text().startsWith(entryStart))
                    return entry;
        }
        return nullptr;
    }

    ScratchDirectory directory;
    std::unique_ptr<CEditorApp> application;
};

TEST_F(EditorWindowGuiTest, MainWindowOpensTheFileAndPaintsItWithTheLatexColours)
{
    const auto path = directory / "paper.tex";
    WriteFile(path, "\\section{Introduction} text\n% a comment line\n");
    Start(path);
    EXPECT_TRUE(MainWindow().isVisible());
    EXPECT_EQ(MainWindow().windowTitle().toStdString(), "paper.tex - Quillwright");
    const QImage image = ViewImage();
    // "\section{Introduction}" is columns 0 to 21, " text" normal, line 1 all comment.
    EXPECT_GT(PixelsOf(image, Keyword, 0, 1, 8), 10);
    EXPECT_EQ(PixelsOf(image, Comment, 0, 0, 27), 0);
    EXPECT_EQ(PixelsOf(image, Keyword, 0, 23, 27), 0);
    EXPECT_GT(PixelsOf(image, Comment, 1, 2, 16), 10);
    EXPECT_EQ(PixelsOf(image, Keyword, 1, 0, 16), 0);
}

TEST_F(EditorWindowGuiTest, FileSaveWritesTheFileBackByteForByte)
{
    const std::string content = "\\documentclass{article}\r\n\t\\begin{document}\r\nGr\xfc\xdf" "e \xe9t\xe9 % x\r\n\r\n\\end{document}";
    const auto path = directory / "bytes.tex";
    WriteFile(path, content);
    Start(path);
    QAction* save = MenuAction("&File", "&Save");
    ASSERT_NE(save, nullptr);
    ASSERT_TRUE(save->isEnabled());
    save->trigger();
    ProcessEventsFor(50);
    EXPECT_EQ(ReadFile(path), content);

    std::int32_t endLine = 0;
    std::int32_t endChar = 0;
    ASSERT_TRUE(Document().Buffer().InsertText(nullptr, 2, 0, "\xa7 ", endLine, endChar, UndoAction::Typing));
    save->trigger();
    ProcessEventsFor(50);
    EXPECT_EQ(ReadFile(path), "\\documentclass{article}\r\n\t\\begin{document}\r\n\xa7 Gr\xfc\xdf" "e \xe9t\xe9 % x\r\n\r\n\\end{document}");
    EXPECT_FALSE(Document().IsModified());
}

TEST_F(EditorWindowGuiTest, WheelAndScrollBarMoveThroughALongDocument)
{
    std::string text;
    for (int line = 0; line < 200; ++line) {
        text += "% line ";
        text += std::to_string(line);
        text += '\n';
    }
    const auto path = directory / "long.tex";
    WriteFile(path, text);
    Start(path);
    QScrollBar& bar = *ScrollArea().verticalScrollBar();
    EXPECT_TRUE(bar.isEnabled());
    EXPECT_EQ(bar.maximum() + bar.pageStep() - 1, 200);

    QWidget& viewport = *ScrollArea().viewport();
    QWheelEvent wheel(QPointF(50, 50), viewport.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&viewport, &wheel);
    ProcessEventsFor(50);
    EXPECT_EQ(View().TopLine(), 10);
    EXPECT_EQ(bar.value(), 10);
    // The first band now shows line 10, in comment colour.
    EXPECT_GT(PixelsOf(ViewImage(), Comment, 0, 0, 10), 10);

    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ProcessEventsFor(50);
    EXPECT_EQ(View().TopLine(), 11);
    bar.triggerAction(QAbstractSlider::SliderToMinimum);
    ProcessEventsFor(50);
    EXPECT_EQ(View().TopLine(), 0);
}

TEST_F(EditorWindowGuiTest, CommandsWithoutHandlersAreDisabledInTheMenus)
{
    Start("");
    QAction* bold = MenuAction("&Insert", "&Bold");
    ASSERT_NE(bold, nullptr);
    EXPECT_FALSE(bold->isEnabled());
    QAction* open = MenuAction("&File", "&Open");
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(open->isEnabled());
}

} // namespace
