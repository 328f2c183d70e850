// Which program shows output: the settings, else the freedesktop associations of a private XDG tree.
#include "app/mime_associations.h"
#include "app/output_viewer.h"
#include "app/xdg_tree.h"
#include "utils/message_box.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <thread>

namespace {

using app::testing::XdgTree;
using utils::testing::ReadFile;

class ViewerChoiceTest : public testing::Test {
protected:
    std::string Program(const std::string& name)
    {
        return tree.WriteRecordingProgram("bin/" + name);
    }
    void DesktopEntry(const std::string& directory, const std::string& id, const std::string& exec)
    {
        tree.Write(directory + "/applications/" + id, "[Desktop Action x]\nExec=wrong\n[Desktop Entry]\nName=Test\nExec=" + exec + "\n");
    }

    XdgTree tree;
};

TEST_F(ViewerChoiceTest, ExtensionsFindTheirMimeTypeByWeightCaseAndDirectory)
{
    tree.Write("system/mime/globs2", "# comment\n50:application/pdf:*.pdf\n50:application/postscript:*.ps\n"
                                     "40:text/x-other:*.html\n60:text/html:*.html\n50:text/x-c:*.C:cs\n"
                                     "50:application/x-tie:*.tie\n");
    tree.Write("data/mime/globs2", "50:application/x-mine:*.tie\n");
    tree.Write("data/mime/globs", "text/x-legacy:*.leg\n");
    struct Case {
        const char* extension;
        const char* type;
    };
    for (const Case& example : {Case{"pdf", "application/pdf"}, Case{"PDF", "application/pdf"},
                                Case{"ps", "application/postscript"}, Case{"html", "text/html"}, Case{"C", "text/x-c"},
                                Case{"c", ""}, Case{"tie", "application/x-mine"}, Case{"leg", "text/x-legacy"},
                                Case{"tex", ""}, Case{"", ""}})
        EXPECT_EQ(app::MimeTypeOfExtension(example.extension), example.type) << example.extension;
}

TEST_F(ViewerChoiceTest, DefaultApplicationComesFromTheFirstListThatNamesAnInstalledEntry)
{
    tree.Write("system/mime/globs2", "50:application/pdf:*.pdf\n50:text/html:*.html\n50:application/postscript:*.ps\n"
                                     "50:text/plain:*.txt\n50:image/png:*.png\n");
    const std::string pdfViewer = Program("pdfview");
    const std::string spaced = tree.WriteRecordingProgram("opt/my viewer/show");
    Program("browser");
    DesktopEntry("system", "pdf.desktop", "pdfview --page 1 %f");
    DesktopEntry("data", "spaced.desktop", "\"" + spaced + "\" \"%f\"");
    DesktopEntry("system", "browser.desktop", "browser %U");
    DesktopEntry("system", "missing-program.desktop", "not-installed %f");
    DesktopEntry("system", "unquoted.desktop", tree / "opt/my viewer/show" + " %f");
    tree.Write("config/mimeapps.list", "[Added Associations]\ntext/html=spaced.desktop;\n"
                                       "[Default Applications]\napplication/pdf=absent.desktop;pdf.desktop;\n"
                                       "application/postscript=spaced.desktop\n"
                                       "image/png=unquoted.desktop;\n");
    tree.Write("config/testdesk-mimeapps.list", "[Default Applications]\ntext/plain=missing-program.desktop;\n");
    tree.Write("system/applications/mimeapps.list", "[Default Applications]\ntext/html=browser.desktop\n"
                                                    "text/plain=pdf.desktop\n");
    struct Case {
        const char* extension;
        std::string program;
    };
    for (const Case& example : {Case{"pdf", pdfViewer}, Case{"ps", spaced}, Case{"html", tree / "bin/browser"},
                                // A listed entry whose program is missing gives way to the next list.
                                Case{"txt", pdfViewer},
                                // An unquoted path with blanks names no program.
                                Case{"png", ""}, Case{"tex", ""}})
        EXPECT_EQ(app::FindAssociatedApplication(example.extension), example.program) << example.extension;
}

TEST_F(ViewerChoiceTest, SettingWinsOverTheAssociationForTheKindsThatHaveOne)
{
    tree.Write("system/mime/globs2", "50:application/pdf:*.pdf\n");
    const std::string associated = Program("pdfview");
    DesktopEntry("system", "pdf.desktop", "pdfview %f");
    tree.Write("system/applications/mimeapps.list", "[Default Applications]\napplication/pdf=pdf.desktop\n");

    struct Case {
        const char* kind;
        const char* settingName;
    };
    for (const Case& example : {Case{"ps", "psviewer"}, Case{"PS", "psviewer"}, Case{"Pdf", "pdfviewer"},
                                Case{"html", "htmlviewer"}, Case{"txt", ""}})
        EXPECT_EQ(app::ViewerSettingName(example.kind), example.settingName) << example.kind;
    EXPECT_EQ(app::ChooseViewer("pdf", "/opt/with blanks/viewer"), "/opt/with blanks/viewer");
    EXPECT_EQ(app::ChooseViewer("pdf", ""), associated);
    EXPECT_EQ(app::ChooseViewer("ps", ""), "");
    EXPECT_EQ(app::ViewerCommandLine("/opt/with blanks/viewer", "/doc/paper.final.pdf"),
              "\"/opt/with blanks/viewer\" \"/doc/paper.final.pdf\"");
}

TEST_F(ViewerChoiceTest, PlainTextFallsBackToTheDesktopOpener)
{
    EXPECT_EQ(app::TextViewerProgram(), "xdg-open");
    const std::string editor = Program("texteditor");
    DesktopEntry("data", "editor.desktop", "texteditor %F");
    tree.Write("data/applications/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop\n");
    EXPECT_EQ(app::TextViewerProgram(), editor);
}

TEST_F(ViewerChoiceTest, StartedViewerGetsTheFileAndAMissingOneIsReportedWithTheSystemText)
{
    std::vector<std::string> messages;
    utils::SetMessageBoxHandler([&](const std::string& text, unsigned int) {
        messages.push_back(text);
        return utils::AnswerOk;
    });
    const std::string viewer = tree.WriteRecordingProgram("opt/my viewer/show");
    EXPECT_TRUE(app::StartViewer(viewer, "/doc/paper one.pdf"));
    EXPECT_FALSE(app::StartViewer(tree / "opt/absent viewer", "/doc/paper one.pdf"));
    utils::SetMessageBoxHandler({});

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "failed to run viewer:\nNo such file or directory");
    for (int attempt = 0; attempt < 500 && ReadFile(viewer + ".args").empty(); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadFile(viewer + ".args"), "/doc/paper one.pdf\n");
}

// Children of this process that have ended but were not reaped.
int ZombieChildren()
{
    int zombies = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        char state = 0;
        int parent = 0;
        fields >> state >> parent;
        zombies += state == 'Z' && parent == ::getpid() ? 1 : 0;
    }
    return zombies;
}

TEST_F(ViewerChoiceTest, ViewersThatEndAreReapedWithoutAnyoneWaiting)
{
    const std::string viewer = tree.Write("bin/quick", "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(viewer, std::filesystem::perms::owner_all);
    for (int start = 0; start < 20; ++start)
        ASSERT_TRUE(app::StartViewer(viewer, "/doc/paper.pdf"));
    int zombies = -1;
    for (int attempt = 0; attempt < 500 && zombies != 0; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        zombies = ZombieChildren();
    }
    EXPECT_EQ(zombies, 0);
}

}  // namespace
