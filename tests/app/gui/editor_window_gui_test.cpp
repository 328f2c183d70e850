#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "app/xdg_tree.h"
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
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>

#include "app/gui/qt_editor_window_test.h"
#include "qt_event_pumping.h"

#include <gtest/gtest.h>

namespace {

using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;

constexpr int MarginWidth = 20;
const QColor Keyword(0, 0, 255);
const QColor Comment(0, 128, 0);

class EditorWindowGuiTest : public app::testing::QtEditorWindowTest {
protected:
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

    // Pixels in the caret's place at the start of a text column of a line that differ from the
    // background right of it.
    int CaretPixels(const QImage& image, int line, int column)
    {
        const int x = MarginWidth + column * CharWidth();
        const QColor background = image.pixelColor(x + CharWidth() - 1, line * LineHeight() + 1);
        int count = 0;
        for (int y = line * LineHeight(); y < (line + 1) * LineHeight(); ++y)
            for (int dx = 0; dx < 2; ++dx)
                count += image.pixelColor(x + dx, y) != background ? 1 : 0;
        return count;
    }

    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&ScrollArea(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(&ScrollArea(), &release);
        ProcessEventsFor(30);
    }

    // Each character as the key press that types it.
    void TypeKeys(const QString& text)
    {
        for (QChar character : text) {
            const QChar upper = character.toUpper();
            const bool letter = upper >= QLatin1Char('A') && upper <= QLatin1Char('Z');
            PressKey(letter ? static_cast<Qt::Key>(upper.unicode()) : Qt::Key_unknown,
                     character.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(character));
        }
    }

    std::string LineBytes(int line)
    {
        const CQuillTextBuffer& buffer = Document().Buffer();
        return std::string(buffer.LineChars(line), static_cast<std::size_t>(buffer.LineLength(line)));
    }

    bool PaneShows(const QString& text)
    {
        for (QLabel* label : MainWindow().statusBar()->findChildren<QLabel*>())
            if (label->text() == text)
                return true;
        return false;
    }

    ScratchDirectory directory;
};

TEST_F(EditorWindowGuiTest, MainWindowOpensTheFileAndPaintsItWithTheLatexColours)
{
    const auto path = directory / "paper.tex";
    WriteFile(path, "\\section{Introduction} text\n% a comment line\n");
    StartEditor(path);
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
    StartEditor(path);
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
    StartEditor(path);
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

TEST_F(EditorWindowGuiTest, CommandsWithHandlersAreEnabledInTheMenus)
{
    StartEditor("");
    for (const auto& [menu, entry] : {std::pair{"Preferences", "Options"}, std::pair{"&Help", "Contents"},
                                      std::pair{"&Insert", "&Bold"}, std::pair{"&File", "&Open"}}) {
        QAction* action = MenuAction(menu, entry);
        ASSERT_NE(action, nullptr) << entry;
        EXPECT_TRUE(action->isEnabled()) << entry;
    }
}

TEST_F(EditorWindowGuiTest, EveryRecentFileEntryOfTheFileMenuOpensItsFile)
{
    const app::testing::XdgTree tree;  // the recent files are stored in the settings file
    const std::string first = directory / "first.tex";
    const std::string second = directory / "second.tex";
    WriteFile(first, "first");
    WriteFile(second, "second");
    StartEditor("");
    application->AddToRecentFileList(first);
    application->AddToRecentFileList(second);
    for (const auto& [entry, text] : {std::pair{"&1 ", "second"}, std::pair{"&2 ", "first"}}) {
        QAction* recent = MenuAction("&File", entry);
        ASSERT_NE(recent, nullptr) << entry;
        ASSERT_TRUE(recent->isEnabled()) << entry;
        recent->trigger();
        ProcessEventsFor(50);
        EXPECT_EQ(Document().WholeText(), text) << entry;
    }
}

TEST_F(EditorWindowGuiTest, TheCaretBlinksWhereTheKeysPutItAndThePositionPaneFollows)
{
    const auto path = directory / "caret.tex";
    // Line 1 ends in column 10 (a tab, then six letters); line 2 holds two wide characters.
    WriteFile(path, "first line\n\tsecond\n\xE4\xB8\xAD\xE6\x96\x87 x\n");
    StartEditor(path);
    View().SetFocus();
    ProcessEventsFor(30);
    ASSERT_TRUE(View().HasFocus());
    PressKey(Qt::Key_Down);
    PressKey(Qt::Key_End);
    ASSERT_EQ(View().CaretPos(), (TextPosition{7, 1}));
    EXPECT_TRUE(ProcessEventsUntil([&] { return PaneShows("Ln 2, Col 8"); }));
    const int caretColumn = 10;
    const int shown = CaretPixels(ViewImage(), 1, caretColumn);
    EXPECT_GE(shown, LineHeight());
    EXPECT_EQ(CaretPixels(ViewImage(), 0, caretColumn), 0);
    // It blinks: off, then on again, in the same place.
    EXPECT_TRUE(ProcessEventsUntil([&] { return CaretPixels(ViewImage(), 1, caretColumn) == 0; }));
    EXPECT_TRUE(ProcessEventsUntil([&] { return CaretPixels(ViewImage(), 1, caretColumn) == shown; }));

    // Down into the wide characters: after "中文 x" the caret stands in column 6, the pane counts
    // five characters.
    PressKey(Qt::Key_Down);
    EXPECT_EQ(View().CaretPos(), (TextPosition{8, 2}));
    EXPECT_TRUE(ProcessEventsUntil([&] { return PaneShows("Ln 3, Col 5"); }));
    EXPECT_TRUE(ProcessEventsUntil([&] { return CaretPixels(ViewImage(), 2, 6) >= LineHeight(); }));
    PressKey(Qt::Key_Home);
    PressKey(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(View().HasSelection());
    EXPECT_TRUE(ProcessEventsUntil([&] { return CaretPixels(ViewImage(), 2, 2) >= LineHeight(); }));
    EXPECT_TRUE(ProcessEventsUntil([&] { return PaneShows("Ln 3, Col 2"); }));
}

TEST_F(EditorWindowGuiTest, BookmarkKeysAndUtf8TextInTheRealWindow)
{
    std::string text = "\xC3\xA9t\xC3\xA9 \xFF" "bad\n";
    for (int line = 1; line < 150; ++line) {
        text += "% line ";
        text += std::to_string(line);
        text += '\n';
    }
    const auto path = directory / "marks.tex";
    WriteFile(path, text);
    StartEditor(path);
    View().SetFocus();
    ProcessEventsFor(30);
    // The invalid byte after "été " shows as a red mark in column 4; "été" keeps three cells.
    const QColor red(255, 0, 0);
    EXPECT_GT(PixelsOf(ViewImage(), red, 0, 4, 5), 5);
    EXPECT_EQ(PixelsOf(ViewImage(), red, 0, 0, 4), 0);

    // Ctrl+5 marks line 140, Alt+5 comes back to it from the top.
    PressKey(Qt::Key_End, Qt::ControlModifier);
    for (int line = 150; line > 140; --line)
        PressKey(Qt::Key_Up);
    PressKey(Qt::Key_5, Qt::ControlModifier);
    EXPECT_NE(Document().Buffer().LineFlagsOf(140) & NumberedBookmarkFlag(5), 0U);
    PressKey(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(View().TopLine(), 0);
    PressKey(Qt::Key_5, Qt::AltModifier);
    EXPECT_EQ(View().CaretPos(), (TextPosition{0, 140}));
    EXPECT_GT(View().TopLine(), 0);
    // Ctrl+F2 and F2 for the unnumbered ones.
    PressKey(Qt::Key_F2, Qt::ControlModifier);
    PressKey(Qt::Key_Home, Qt::ControlModifier);
    PressKey(Qt::Key_F2);
    EXPECT_EQ(View().CaretPos(), (TextPosition{0, 140}));
}

TEST_F(EditorWindowGuiTest, KeysTypeIndentAndUndoInTheMainWindow)
{
    const auto path = directory / "edit.tex";
    WriteFile(path, "\t\\begin{itemize}\n");
    StartEditor(path);
    View().SetFocus();
    ProcessEventsFor(30);
    PressKey(Qt::Key_End);
    PressKey(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(LineBytes(1), "\t") << "the indentation of the line above";
    TypeKeys("\\item a b");
    PressKey(Qt::Key_Left);
    TypeKeys("x");
    EXPECT_EQ(LineBytes(1), "\t\\item a xb");
    EXPECT_EQ(View().CaretPos(), (TextPosition{10, 1}));
    QAction* undo = MenuAction("&Edit", "&Undo");
    ASSERT_NE(undo, nullptr);
    EXPECT_EQ(undo->text(), "&Undo Typing\tCtrl+Z");

    PressKey(Qt::Key_Z, Qt::ControlModifier, QString(QChar(26)));
    EXPECT_EQ(LineBytes(1), "\t\\item a") << "the word typed after the last space goes, with the space";

    // Tab and Shift+Tab reach the view with a block selected, and the focus stays.
    PressKey(Qt::Key_Home, Qt::ControlModifier);
    PressKey(Qt::Key_Down, Qt::ShiftModifier);
    PressKey(Qt::Key_Down, Qt::ShiftModifier);
    PressKey(Qt::Key_Tab, Qt::NoModifier, "\t");
    EXPECT_EQ(LineBytes(0), "\t\t\\begin{itemize}");
    EXPECT_EQ(LineBytes(1), "\t\t\\item a");
    EXPECT_TRUE(ScrollArea().hasFocus());
    PressKey(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(LineBytes(0), "\t\\begin{itemize}");

    // Insert switches to overwrite mode, which the status bar shows.
    EXPECT_FALSE(PaneShows("OVR"));
    PressKey(Qt::Key_Insert);
    EXPECT_TRUE(ProcessEventsUntil([&] { return PaneShows("OVR"); }));
    PressKey(Qt::Key_Insert);
    EXPECT_TRUE(ProcessEventsUntil([&] { return !PaneShows("OVR"); }));

    PressKey(Qt::Key_S, Qt::ControlModifier, QString(QChar(19)));
    EXPECT_EQ(ReadFile(path), "\t\\begin{itemize}\n\t\\item a\n");
}

TEST_F(EditorWindowGuiTest, AnInputMethodsCommitAndAComposedKeyInsertUtf8)
{
    StartEditor("");
    View().SetFocus();
    ProcessEventsFor(30);
    PressKey(Qt::Key_Dead_Circumflex);
    QInputMethodEvent preedit(QString::fromUtf8("^"), {});
    QApplication::sendEvent(&ScrollArea(), &preedit);
    EXPECT_EQ(LineBytes(0), "") << "neither the dead key nor the preedit text types anything";
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xC3\xAA\xE4\xB8\xAD"));
    QApplication::sendEvent(&ScrollArea(), &commit);
    PressKey(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\xC3\xA9"));
    EXPECT_EQ(LineBytes(0), "\xC3\xAA\xE4\xB8\xAD\xC3\xA9");
    EXPECT_EQ(View().CaretPos(), (TextPosition{7, 0}));
    EXPECT_TRUE(ProcessEventsUntil([&] { return PaneShows("Ln 1, Col 4"); }));
    // The caret stands after the wide character: five cells from the margin.
    EXPECT_TRUE(ProcessEventsUntil([&] { return CaretPixels(ViewImage(), 0, 4) >= LineHeight(); }));
}

} // namespace
