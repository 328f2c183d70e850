#pragma once

#include "platform/cmd_ui.h"
#include "platform/command_ids.h"
#include "platform/control_bars.h"
#include "platform/dc.h"
#include "platform/doc_template.h"
#include "platform/document.h"
#include "platform/frame_wnd.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_window.h"
#include "platform/message_box.h"
#include "platform/resources.h"
#include "platform/view.h"
#include "platform/win_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace platform_test {

constexpr UINT TemplateResource = 5000;
constexpr UINT ViewCommand = 41000;
constexpr UINT DocumentCommand = 41001;
constexpr UINT FrameCommand = 41002;
constexpr UINT ApplicationCommand = 41003;
constexpr UINT SharedCommand = 41004;
constexpr UINT DisabledCommand = 41005;
constexpr UINT UnhandledCommand = 41006;

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

// A document whose contents are the bytes of its file.
class TextDocument : public CDocument {
public:
    TextDocument()
    {
        MapCommand(DocumentCommand, [this] { handled.push_back("document"); });
        MapCommand(SharedCommand, [this] { handled.push_back("document"); });
    }
    bool OnOpenDocument(const std::string& path) override
    {
        if (!CDocument::OnOpenDocument(path))
            return false;
        if (failLoading)
            return false;
        content = ReadFile(path);
        return true;
    }
    bool OnSaveDocument(const std::string& path) override
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (!file || !(file << content)) {
            AfxMessageBox("Failed to save document:\n" + path);
            return false;
        }
        SetModifiedFlag(false);
        return true;
    }
    void DeleteContents() override { content.clear(); }

    std::string content;
    bool failLoading = false;
    std::vector<std::string> handled;
};

// A view that records what reached it.
class RecordingView : public CView {
public:
    RecordingView()
    {
        MapCommand(ViewCommand, [this] { Record("view"); });
        MapCommand(SharedCommand, [this] { Record("view"); });
        MapCommand(DisabledCommand, [this] { Record("disabled command ran"); });
        MapUpdateCommandUI(DisabledCommand, [](CCmdUI* commandUi) { commandUi->Enable(false); });
        MapUpdateCommandUI(ViewCommand, [this](CCmdUI* commandUi) {
            commandUi->SetCheck(checked ? 1 : 0);
            commandUi->SetText("View &command");
        });
        MapUpdateCommandUI(SharedCommand, [this](CCmdUI* commandUi) { commandUi->Enable(sharedEnabled); });
    }
    void Record(const std::string& what);
    void OnInitialUpdate() override
    {
        ++initialUpdates;
        CView::OnInitialUpdate();
    }

    bool checked = false;
    bool sharedEnabled = true;
    int initialUpdates = 0;
    std::vector<std::string> keys;

protected:
    void OnDraw(CDC*) override {}
    void OnKeyDown(UINT key, UINT, UINT) override { keys.push_back("down " + std::to_string(key)); }
    // ASCII characters as themselves, others as their code point.
    void OnChar(UINT character, UINT, UINT) override
    {
        keys.push_back("char " + (character < 0x80 ? std::string(1, static_cast<char>(character)) : "U+" + std::to_string(character)));
    }
};

class RecordingFrame : public CFrameWnd {
public:
    RecordingFrame()
    {
        MapCommand(FrameCommand, [this] { Record("frame"); });
        MapCommand(SharedCommand, [this] { Record("frame"); });
    }
    void Record(const std::string& what);

protected:
    int OnCreate(CREATESTRUCT* create) override
    {
        if (CFrameWnd::OnCreate(create) == -1)
            return -1;
        static const UINT indicators[] = {ID_SEPARATOR, ViewCommand, ID_INDICATOR_CAPS, ID_INDICATOR_OVR};
        if (!statusBar.Create(this) || !statusBar.SetIndicators(indicators, 4))
            return -1;
        if (!toolBar.CreateEx(this, 0, 0) || !toolBar.LoadToolBar(TemplateResource))
            return -1;
        return 0;
    }

public:
    CStatusBar statusBar;
    CToolBar toolBar;
};

class TestApplication : public CWinApp {
public:
    TestApplication() : CWinApp("Test Editor")
    {
        MapCommand(ApplicationCommand, [this] { handled.push_back("application"); });
        MapCommand(SharedCommand, [this] { handled.push_back("application"); });
    }
    std::vector<std::string> handled;
};

// Everything reached by a command, in order, across the objects of one test.
inline std::vector<std::string>& Journal()
{
    static std::vector<std::string> journal;
    return journal;
}

inline void RecordingView::Record(const std::string& what)
{
    Journal().push_back(what);
}

inline void RecordingFrame::Record(const std::string& what)
{
    Journal().push_back(what);
}

// A headless application with one single-document template of TextDocument, RecordingFrame and
// RecordingView, files in a temporary directory.
class ApplicationTest : public testing::Test {
protected:
    ApplicationTest()
    {
        Journal().clear();
        using platform::MenuItem;
        platform::resources::AddMenu(
            TemplateResource,
            {MenuItem::Popup("&File", {MenuItem::Command("&New", ID_FILE_NEW), MenuItem::Command("&Open...", ID_FILE_OPEN),
                                       MenuItem::Command("&Save", ID_FILE_SAVE), MenuItem::Separator(),
                                       MenuItem::Command("Recent File", ID_FILE_MRU_FILE1), MenuItem::Separator(),
                                       MenuItem::Command("E&xit", ID_APP_EXIT)}),
             MenuItem::Popup("&Test", {MenuItem::Command("&View", ViewCommand), MenuItem::Command("&Shared", SharedCommand),
                                       MenuItem::Command("&Disabled", DisabledCommand),
                                       MenuItem::Command("&Unhandled", UnhandledCommand)})});
        platform::resources::AddAccelerators(TemplateResource, {{FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},
                                                                {FVIRTKEY | FCONTROL, 'D', DisabledCommand},
                                                                {FVIRTKEY | FCONTROL | FSHIFT, 'V', ViewCommand}});
        platform::resources::AddToolbar(TemplateResource, {16, 15, 0, RGB(192, 192, 192), {ID_FILE_NEW, ID_SEPARATOR, ViewCommand, UnhandledCommand}});
        directory = std::filesystem::temp_directory_path() / ("platform_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::create_directories(directory);
        docTemplate = application.AddDocTemplate(std::make_unique<CSingleDocTemplate>(
            TemplateResource, RuntimeClassOf<TextDocument, CDocument>(), RuntimeClassOf<RecordingFrame, CFrameWnd>(),
            RuntimeClassOf<RecordingView, CView>()));
        application.SetRegistryKey("TVL");
        application.LoadStdProfileSettings(4);
    }
    ~ApplicationTest() override { std::filesystem::remove_all(directory); }

    TextDocument& Document() { return *dynamic_cast<TextDocument*>(docTemplate->GetDocument()); }
    RecordingFrame& Frame() { return *dynamic_cast<RecordingFrame*>(docTemplate->GetFrame()); }
    RecordingView& View() { return *dynamic_cast<RecordingView*>(Frame().GetActiveView()); }
    std::filesystem::path File(const std::string& name, const std::string& content)
    {
        const auto path = directory / name;
        WriteFile(path, content);
        return path;
    }
    platform::headless::HeadlessWindow& FramePeer() { return backend.Peer(Frame()); }

    platform::headless::HeadlessBackend backend;
    TestApplication application;
    CSingleDocTemplate* docTemplate = nullptr;
    std::filesystem::path directory;
    static inline int counter = 0;
};

}  // namespace platform_test
