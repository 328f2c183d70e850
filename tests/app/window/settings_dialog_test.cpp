// Preferences → Options, Help → Contents and the About box, worked through their controls.
#include "app/window/app_resource_ids.h"
#include "app/window/editor_app.h"
#include "app/window/icon_preview.h"
#include "app/window/main_frame.h"
#include "app/window/settings_dialog.h"
#include "app/xdg_tree.h"
#include "platform/command_ids.h"
#include "platform/headless/dialog_driver.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_icon.h"
#include "platform/system_services.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace {

using app::testing::XdgTree;
using platform::headless::DialogDriver;
using platform::headless::ExecutableIconColour;
using platform::headless::HeadlessIcon;

constexpr int AddressEdit = 1000;
constexpr int HtmlOptionsEdit = 1013;
constexpr int ViewerEdits[] = {1001, 1004, 1007};
constexpr int BrowseButtons[] = {1002, 1005, 1008};
constexpr int FindButtons[] = {1003, 1006, 1009};
constexpr const char* ViewerSettings[] = {"psviewer", "pdfviewer", "htmlviewer"};

constexpr COLORREF ThemeIconColour = 0x30C030;

// The colour of an icon's top-left pixel: which icon it is; 0 for none.
COLORREF IconColour(const HICON& icon)
{
    const auto* headless = dynamic_cast<const HeadlessIcon*>(icon.get());
    return headless == nullptr ? 0 : headless->Image().Pixel(0, 0);
}

class SettingsDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        backend.AddThemeIcon("pdf-reader", {1, 1, {ThemeIconColour}});
        // A desktop that opens PDF files with the program of reader.desktop; no PostScript association.
        tree.Write("system/mime/globs2", "50:application/pdf:*.pdf\n50:application/postscript:*.ps\n");
        tree.Write("config/mimeapps.list", "[Default Applications]\napplication/pdf=reader.desktop\n");
        tree.Write("system/applications/reader.desktop",
                   "[Desktop Entry]\nType=Application\nName=Reader\nExec=reader %f\nIcon=pdf-reader\n");
        reader = tree.WriteRecordingProgram("bin/reader");
        plainProgram = tree.WriteRecordingProgram("opt/plain-viewer");
        application = std::make_unique<CEditorApp>("");
        ASSERT_TRUE(application->InitInstance());
    }
    void TearDown() override
    {
        if (application != nullptr && application->m_pMainWnd != nullptr)
            application->m_pMainWnd->DestroyWindow();
        application.reset();
    }

    std::string& Stored(const std::string& key) { return backend.ProfileValues("TVL", "Quillwright")[{"settings", key}]; }
    bool IsStored(const std::string& key)
    {
        auto& values = backend.ProfileValues("TVL", "Quillwright");
        return values.find({"settings", key}) != values.end();
    }
    CSettingsDlg& Settings(DialogDriver& driver) { return dynamic_cast<CSettingsDlg&>(driver.Dialog()); }
    // Runs Preferences → Options with the script.
    void RunOptions(std::function<void(DialogDriver&)> script)
    {
        backend.ScriptDialog(CSettingsDlg::TemplateId, std::move(script));
        ASSERT_TRUE(backend.ChooseMenuCommand(*application->MainFrame(), ID_OPTIONS));
    }

    XdgTree tree;
    platform::headless::HeadlessBackend backend;
    std::unique_ptr<CEditorApp> application;
    std::string reader;
    std::string plainProgram;
};

TEST_F(SettingsDialogTest, OkWritesAllFiveValuesAndCancelWritesNothing)
{
    RunOptions([](DialogDriver& driver) {
        EXPECT_EQ(driver.Dialog().GetWindowText(), "Settings");
        EXPECT_EQ(driver.Text(AddressEdit), "localhost:3000") << "the default";
        EXPECT_NE(driver.Text(HtmlOptionsEdit).find("-split 0"), std::string::npos) << "the default options";
        for (int edit : ViewerEdits)
            EXPECT_EQ(driver.Text(edit), "");
        driver.Click(IDOK);
    });
    EXPECT_EQ(Stored("address"), "localhost:3000") << "OK writes unchanged values too";
    for (const char* setting : ViewerSettings)
        EXPECT_TRUE(IsStored(setting)) << setting;

    Stored("pdfviewer") = "/usr/bin/old";
    RunOptions([](DialogDriver& driver) {
        EXPECT_EQ(driver.Text(1004), "/usr/bin/old");
        driver.SetText(AddressEdit, "texserver.example:4000");
        driver.SetText(1004, "/usr/bin/new");
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(Stored("address"), "localhost:3000");
    EXPECT_EQ(Stored("pdfviewer"), "/usr/bin/old");

    RunOptions([](DialogDriver& driver) {
        driver.SetText(AddressEdit, "texserver.example:4000");
        driver.SetText(HtmlOptionsEdit, "-split 1");
        driver.SetText(1001, "/opt/ps view");
        driver.SetText(1007, "firefox");
        driver.Click(IDOK);
    });
    EXPECT_EQ(Stored("address"), "texserver.example:4000");
    EXPECT_EQ(Stored("cmdline"), "-split 1");
    EXPECT_EQ(Stored("psviewer"), "/opt/ps view");
    EXPECT_EQ(Stored("pdfviewer"), "/usr/bin/old");
    EXPECT_EQ(Stored("htmlviewer"), "firefox");
    EXPECT_TRUE(backend.MessageBoxes().empty());
}

TEST_F(SettingsDialogTest, AnAddressThatIsNotHostAndPortIsRefusedAndTheDialogStaysOpen)
{
    for (const char* address : {"localhost", "localhost:", ":3000", "host:0", "host:65536", "host:99999999",
                                "host:30a", "host:-1", "a b:3000", "host:1:2", "host: 3000"}) {
        backend.ClearRecords();
        RunOptions([address](DialogDriver& driver) {
            driver.SetText(AddressEdit, address);
            driver.Click(IDOK);
            EXPECT_FALSE(driver.Dialog().IsEnding()) << address;
            driver.SetText(AddressEdit, "host:65535");
            driver.Click(IDOK);
            EXPECT_TRUE(driver.Dialog().IsEnding());
        });
        ASSERT_EQ(backend.MessageBoxes().size(), 1u) << address;
        EXPECT_NE(backend.MessageBoxes()[0].text.find("server address"), std::string::npos) << address;
        EXPECT_EQ(Stored("address"), "host:65535");
    }
    for (const char* address : {"host:1", "127.0.0.1:3000", "server.example.org:00080"}) {
        backend.ClearRecords();
        RunOptions([address](DialogDriver& driver) {
            driver.SetText(AddressEdit, address);
            driver.Click(IDOK);
        });
        EXPECT_TRUE(backend.MessageBoxes().empty()) << address;
        EXPECT_EQ(Stored("address"), address);
    }
}

TEST_F(SettingsDialogTest, FindFillsTheRowWithTheDefaultApplicationOrSaysThereIsNone)
{
    RunOptions([this](DialogDriver& driver) {
        driver.SetText(1001, "/keep/this");
        driver.Click(FindButtons[0]);
        EXPECT_EQ(driver.Text(1001), "/keep/this") << "no PostScript association";
        EXPECT_EQ(IconColour(Settings(driver).Preview(1).Icon()), 0u);
        driver.Click(FindButtons[1]);
        EXPECT_EQ(driver.Text(1004), reader);
        EXPECT_EQ(IconColour(Settings(driver).Preview(1).Icon()), ThemeIconColour) << "the entry's icon";
        driver.Click(IDOK);
    });
    ASSERT_EQ(backend.MessageBoxes().size(), 2u);
    EXPECT_EQ(backend.MessageBoxes()[0].text, "Default application for extension 'ps' was not found");
    EXPECT_EQ(backend.MessageBoxes()[1].text, "Default application for extension 'pdf' was found:\n" + reader);
    EXPECT_EQ(Stored("pdfviewer"), reader);
    EXPECT_EQ(Stored("psviewer"), "/keep/this");
}

TEST_F(SettingsDialogTest, TheIconShowsTheDesktopEntrysIconAGenericOneOrNothing)
{
    tree.Write("system/applications/unthemed.desktop", "[Desktop Entry]\nExec=" + plainProgram + "\nIcon=no-such-icon\n");
    const std::string noIconEntry = tree.WriteRecordingProgram("opt/bare");
    struct Case {
        std::string program;
        COLORREF colour;
        const char* why;
    };
    const Case cases[] = {
        {reader, ThemeIconColour, "a desktop entry runs it and the theme has its icon"},
        {"reader", ThemeIconColour, "a name found on PATH"},
        {plainProgram, ExecutableIconColour, "the entry's icon is not in the theme"},
        {noIconEntry, ExecutableIconColour, "no entry runs it"},
        {tree / "opt/missing", 0, "no such file"},
        {"", 0, "no program"},
    };
    for (const Case& example : cases)
        EXPECT_EQ(IconColour(ProgramIcon(example.program, IconSize::Small)), example.colour) << example.why;

    Stored("htmlviewer") = noIconEntry;
    RunOptions([&](DialogDriver& driver) {
        EXPECT_EQ(IconColour(Settings(driver).Preview(2).Icon()), ExecutableIconColour) << "the stored viewer's icon";
        EXPECT_EQ(Settings(driver).Preview(2).Icon()->Size(), CSize(16, 16));
        // Every keystroke updates the row's icon.
        driver.SetText(1007, reader.substr(0, reader.size() - 1));
        EXPECT_EQ(IconColour(Settings(driver).Preview(2).Icon()), 0u);
        driver.SetText(1007, reader);
        EXPECT_EQ(IconColour(Settings(driver).Preview(2).Icon()), ThemeIconColour);
        // Painted on the menu colour, in the disabled look while the preview is disabled.
        IconPreview& preview = Settings(driver).Preview(2);
        EXPECT_EQ(backend.Screen(preview).PixelColour({0, 0}), ThemeIconColour);
        preview.EnableWindow(false);
        EXPECT_EQ(backend.Screen(preview).PixelColour({0, 0}), platform::headless::DisabledLook(ThemeIconColour));
        driver.SetText(1007, "");
        EXPECT_EQ(backend.Screen(preview).PixelColour({0, 0}), GetSysColor(COLOR_MENU)) << "no program, no icon";
        driver.Click(IDCANCEL);
    });
}

TEST_F(SettingsDialogTest, BrowseTakesTheChosenFileForItsRowOnly)
{
    backend.AnswerFileDialog(reader);
    backend.AnswerFileDialog(std::nullopt);
    RunOptions([this](DialogDriver& driver) {
        driver.SetText(1001, "/typed/before");
        driver.Click(BrowseButtons[1]);
        EXPECT_EQ(driver.Text(1004), reader);
        EXPECT_EQ(driver.Text(1001), "/typed/before") << "the other rows keep what was typed";
        EXPECT_EQ(IconColour(Settings(driver).Preview(1).Icon()), ThemeIconColour);
        driver.Click(BrowseButtons[2]);
        EXPECT_EQ(driver.Text(1007), "") << "a cancelled choice changes nothing";
        driver.Click(IDOK);
    });
    ASSERT_EQ(backend.FileDialogs().size(), 2u);
    EXPECT_EQ(Stored("pdfviewer"), reader);
    EXPECT_EQ(Stored("psviewer"), "/typed/before");
}

TEST_F(SettingsDialogTest, HelpContentsOpensTheHelpIndexInTheHtmlViewer)
{
    ASSERT_TRUE(std::filesystem::exists(CEditorApp::HelpContentsPath())) << "the help is part of the data directory";
    const std::string browser = tree.WriteRecordingProgram("opt/browser");
    Stored("htmlviewer") = browser;
    ASSERT_TRUE(backend.ChooseMenuCommand(*application->MainFrame(), ID_HELP_CONTENTS));
    for (int attempt = 0; attempt < 500 && !std::filesystem::exists(browser + ".args"); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(utils::testing::ReadFile(browser + ".args"), CEditorApp::HelpContentsPath() + "\n");

    ASSERT_TRUE(backend.ChooseMenuCommand(*application->MainFrame(), ID_APP_ABOUT));
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].text.rfind("Quillwright ", 0), 0u);
}

}  // namespace
