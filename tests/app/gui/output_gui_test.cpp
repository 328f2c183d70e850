// Output from the real window: the job's transfer texts reach the status bar while the window goes on
// working, and the end shows "Finished".
#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "app/window/running_jobs.h"
#include "app/xdg_tree.h"
#include "docsystem/fake_processing_server.h"
#include "documents/latex_doc.h"
#include "platform/doc_template.h"
#include "platform/qt/qt_frame_window.h"
#include "utils/test_scratch_directory.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "app/gui/qt_editor_window_test.h"
#include "qt_event_pumping.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

namespace {

using docsystem::testing::FakeProcessingServer;
using docsystem::testing::FakeServerScript;
using docsystem::testing::Result;
using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;

class OutputGuiTest : public app::testing::QtEditorWindowTest {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(ProcessEventsUntil([] { return running_jobs::Count() == 0; }, 10000));
        QtEditorWindowTest::TearDown();
    }

    CLatexDoc& Document() { return dynamic_cast<CLatexDoc&>(*application->DocTemplate()->GetDocument()); }

    app::testing::XdgTree tree;
    ScratchDirectory directory;
};

TEST_F(OutputGuiTest, ProgressPaneShowsTheTransferWhileTheWindowKeepsWorking)
{
    std::atomic<bool> midway = false;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    FakeServerScript script;
    script.results = {Result("paper.pdf", "%PDF-1.4\n" + std::string(200000, 'x'))};
    script.pauseMidway = [&] {
        midway = true;
        released.wait();
    };
    FakeProcessingServer server(script);
    const auto path = directory / "paper.tex";
    WriteFile(path, "\\documentclass{article}\n\\begin{document}\nHello.\n\\end{document}\n");
    // The Qt backend's settings file lives in the XDG configuration directory.
    tree.Write("config/TVL/Quillwright.conf", "[settings]\naddress=" + server.Address() + "\n");
    StartEditor(path);

    QAction* createPdf = MenuAction("&Output", "Create P&DF");
    ASSERT_NE(createPdf, nullptr);
    ASSERT_TRUE(createPdf->isEnabled());
    createPdf->trigger();
    ASSERT_TRUE(ProcessEventsUntil([&] { return midway.load(); }, 10000));
    ASSERT_TRUE(ProcessEventsUntil([&] {
        const auto texts = PaneTexts();
        return texts.size() == 6 && texts[1].starts_with("Receiving files: ") && texts[1] != "Receiving files: 0 of 195kB";
    }));
    EXPECT_TRUE(PaneTexts()[1].ends_with(" of 195kB")) << PaneTexts()[1];
    // The window answers meanwhile: its menus open and show the output commands disabled.
    EXPECT_FALSE(MenuAction("&Output", "Create P&DF")->isEnabled());
    EXPECT_TRUE(MenuAction("&File", "&Save")->isEnabled());
    EXPECT_TRUE(Document().m_bProcessing);

    release.set_value();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !Document().m_bProcessing; }, 10000));
    EXPECT_EQ(PaneTexts()[0], "Finished");
    EXPECT_EQ(PaneTexts()[1], "");
    EXPECT_EQ(ReadFile(directory / "paper.pdf").size(), 9u + 200000u);
    EXPECT_TRUE(MenuAction("&Output", "Create P&DF")->isEnabled());
}

}  // namespace
