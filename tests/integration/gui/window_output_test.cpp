// The editor window (Qt, offscreen) makes a PDF of the sample article with a real torvel-server and
// real LaTeX while the user goes on typing, and opens it in the configured viewer.
#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "app/window/running_jobs.h"
#include "app/xdg_tree.h"
#include "documents/latex_doc.h"
#include "integration/client_run.h"
#include "platform/doc_template.h"
#include "platform/qt/qt_frame_window.h"
#include "server/server_process.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "app/gui/qt_editor_window_test.h"
#include "qt_event_pumping.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using torvel_test::Capture;
using torvel_test::ExampleDocuments;
using torvel_test::ServerProcess;
using utils::testing::ReadFile;

class WindowOutputTest : public app::testing::QtEditorWindowTest {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(ProcessEventsUntil([] { return running_jobs::Count() == 0; }, 120000));
        QtEditorWindowTest::TearDown();
    }

    std::string PaneText(std::size_t index)
    {
        const std::vector<std::string> texts = PaneTexts();
        return index < texts.size() ? texts[index] : std::string();
    }
    // Real key presses into the widget that has the keyboard focus.
    void TypeKeys(const QString& text)
    {
        for (const QChar character : text) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            const int key = character == QChar(u'\n') ? static_cast<int>(Qt::Key_Return) : character.toUpper().unicode();
            const QString keyText = character == '\n' ? QString("\r") : QString(character);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, keyText);
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, keyText);
            QApplication::sendEvent(target, &release);
        }
        ProcessEventsFor(20);
    }
    CLatexDoc& Document() { return dynamic_cast<CLatexDoc&>(*application->DocTemplate()->GetDocument()); }
    std::string Line(int line)
    {
        const auto& buffer = Document().Buffer();
        return std::string(buffer.LineChars(line), static_cast<std::size_t>(buffer.LineLength(line)));
    }

    ServerProcess server;
    ExampleDocuments documents;
    app::testing::XdgTree tree;
};

TEST_F(WindowOutputTest, PdfOfTheSampleArticleWhileTypingThenViewedInTheConfiguredViewer)
{
    const std::string viewer = tree.WriteRecordingProgram("opt/pdf viewer");
    tree.Write("config/TVL/Quillwright.conf", "[settings]\naddress=127.0.0.1:" + std::to_string(server.DocumentationPort())
                                                 + "\npdfviewer=" + viewer + "\n");
    const std::string paper = (documents.Directory() / "paper.tex").string();
    StartEditor(paper);
    if (HasFatalFailure())
        return;

    TypeKeys("% typed in the window\n");
    ASSERT_EQ(Line(0), "% typed in the window");
    QAction* createPdf = MenuAction("&Output", "Create P&DF");
    ASSERT_NE(createPdf, nullptr);
    createPdf->trigger();
    ASSERT_TRUE(Document().m_bProcessing);
    EXPECT_TRUE(ReadFile(paper).starts_with("% typed in the window\n")) << "saved before the job";

    // LaTeX runs for seconds; what is typed now shows at once.
    TypeKeys("% and more while it runs\n");
    EXPECT_EQ(Line(1), "% and more while it runs");
    EXPECT_TRUE(Document().m_bProcessing) << "the job ended before the typing could be checked";

    ASSERT_TRUE(ProcessEventsUntil([&] { return !Document().m_bProcessing; }, 120000)) << server.Log();
    EXPECT_EQ(PaneText(0), "Finished");
    EXPECT_EQ(PaneText(1), "");
    int status = -1;
    const std::string info = Capture({"pdfinfo", (documents.Directory() / "paper.pdf").string()}, status);
    EXPECT_EQ(status, 0) << info << server.Log();
    EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;

    QAction* viewPdf = MenuAction("&Output", "View PDF");
    ASSERT_NE(viewPdf, nullptr);
    ASSERT_TRUE(viewPdf->isEnabled());
    viewPdf->trigger();
    ASSERT_TRUE(ProcessEventsUntil([&] { return std::filesystem::exists(viewer + ".args"); }));
    EXPECT_EQ(ReadFile(viewer + ".args"), (documents.Directory() / "paper.pdf").string() + "\n");
}

}  // namespace
