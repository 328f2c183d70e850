#include "platform/clipboard.h"
#include "platform/drag_drop.h"
#include "platform/headless/headless_backend.h"
#include "platform/ini_profile_file.h"
#include "platform/profile_store.h"
#include "platform/win_app.h"
#include "platform/wnd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

using platform::headless::DragStep;
using platform::headless::HeadlessBackend;

class ProfileTest : public testing::Test {
protected:
    HeadlessBackend backend;
    CWinApp application{"Quillwright"};
};

TEST_F(ProfileTest, ValuesLiveUnderTheRegistryKeyAndApplicationAndFallBackToDefaults)
{
    application.SetRegistryKey("TVL");
    EXPECT_EQ(application.GetProfileString("settings", "address", "localhost:3000"), "localhost:3000");
    EXPECT_EQ(application.GetProfileInt("QuillEdit\\Find", "MatchCase", 0), 0);
    EXPECT_TRUE(application.WriteProfileString("settings", "address", "server:4000"));
    EXPECT_TRUE(application.WriteProfileInt("QuillEdit\\Find", "MatchCase", 1));
    EXPECT_EQ(application.GetProfileString("settings", "address", "localhost:3000"), "server:4000");
    EXPECT_EQ(application.GetProfileInt("QuillEdit\\Find", "MatchCase", 0), 1);
    EXPECT_EQ((backend.ProfileValues("TVL", "Quillwright")[{"settings", "address"}]), "server:4000");
}

TEST_F(ProfileTest, AnIntegerThatIsNotANumberGivesTheDefault)
{
    application.SetRegistryKey("TVL");
    application.WriteProfileString("QuillEdit\\Replace", "WholeWord", "yes");
    EXPECT_EQ(application.GetProfileInt("QuillEdit\\Replace", "WholeWord", 3), 3);
    application.WriteProfileString("QuillEdit\\Replace", "WholeWord", "12x");
    EXPECT_EQ(application.GetProfileInt("QuillEdit\\Replace", "WholeWord", 3), 3);
    application.WriteProfileString("QuillEdit\\Replace", "WholeWord", "-7");
    EXPECT_EQ(application.GetProfileInt("QuillEdit\\Replace", "WholeWord", 3), -7);
}

// The settings file of the real program, under a temporary XDG_CONFIG_HOME.
class IniProfileStoreTest : public testing::Test {
protected:
    IniProfileStoreTest()
        : home(std::filesystem::temp_directory_path() / ("platform_ini_" + std::to_string(::getpid())))
    {
        if (const char* previous = std::getenv("XDG_CONFIG_HOME"))
            saved = previous;
        ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    }
    ~IniProfileStoreTest() override
    {
        if (saved)
            ::setenv("XDG_CONFIG_HOME", saved->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(home);
    }

    std::filesystem::path home;
    std::optional<std::string> saved;
};

TEST_F(IniProfileStoreTest, SectionsBecomeGroupsOfTheSharedSettingsFileAndEveryReadSeesTheFile)
{
    platform::IniProfileStore store("TVL", "Quillwright");
    EXPECT_EQ(store.Path(), (home / "TVL" / "Quillwright.conf").string());
    EXPECT_FALSE(store.ReadString("settings", "address"));
    EXPECT_TRUE(store.WriteString("settings", "address", "host:1"));
    EXPECT_TRUE(store.WriteInteger("QuillEdit\\Find", "MatchCase", 1));

    platform::IniProfileFile file(store.Path());
    file.Load();
    EXPECT_EQ(file.GetString("settings", "address", ""), "host:1");
    EXPECT_EQ(file.GetInteger("QuillEdit/Find", "MatchCase", 0), 1);

    // Another process changes the file: the next read sees it.
    file.SetString("settings", "address", "other:2");
    file.Save();
    EXPECT_EQ(store.ReadString("settings", "address"), "other:2");
    EXPECT_EQ(store.ReadInteger("QuillEdit\\Find", "MatchCase"), 1);
    EXPECT_EQ(platform::GroupOfSection("QuillEdit\\Replace"), "QuillEdit/Replace");
}

TEST_F(IniProfileStoreTest, AWriteThatCannotBeStoredIsReportedAsFailed)
{
    std::filesystem::create_directories(home);
    std::ofstream(home / "TVL") << "a file where the directory should be";
    platform::IniProfileStore store("TVL", "Quillwright");
    EXPECT_FALSE(store.WriteString("settings", "address", "x"));
}

class ClipboardTest : public testing::Test {
protected:
    HeadlessBackend backend;
};

TEST_F(ClipboardTest, PlainTextGoesOnTheClipboardUpToAZeroByte)
{
    EXPECT_FALSE(platform::clipboard::HasText());
    EXPECT_FALSE(platform::clipboard::GetText());
    EXPECT_TRUE(platform::clipboard::SetText(std::string("line 1\r\nline 2\0tail", 19)));
    EXPECT_TRUE(platform::clipboard::HasText());
    EXPECT_EQ(platform::clipboard::GetText(), "line 1\r\nline 2");
    backend.PutNonTextOnClipboard();
    EXPECT_FALSE(platform::clipboard::HasText());
    EXPECT_FALSE(platform::clipboard::GetText());
}

// A drop target that accepts text, copying with Ctrl and moving otherwise.
class TextDropTarget : public COleDropTarget {
public:
    std::vector<std::string> events;
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD keyState, CPoint point) override
    {
        events.push_back("enter " + std::to_string(point.x));
        return Effect(data, keyState);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keyState, CPoint point) override
    {
        events.push_back("over " + std::to_string(point.x));
        return Effect(data, keyState);
    }
    DROPEFFECT OnDragScroll(CWnd*, DWORD, CPoint) override
    {
        events.push_back("scroll");
        return DROPEFFECT_NONE;
    }
    void OnDragLeave(CWnd*) override { events.push_back("leave"); }
    bool OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint) override
    {
        events.push_back("drop " + *data->GetText() + (effect == DROPEFFECT_COPY ? " copy" : " move"));
        return true;
    }

private:
    static DROPEFFECT Effect(COleDataObject* data, DWORD keyState)
    {
        if (!data->HasText())
            return DROPEFFECT_NONE;
        return (keyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
};

TEST_F(ClipboardTest, ADragOffersTextToTheDropTargetsItPasses)
{
    CWnd source;
    CWnd target;
    ASSERT_TRUE(source.Create(nullptr, 1, 0, CRect(0, 0, 50, 50)));
    ASSERT_TRUE(target.Create(nullptr, 2, 0, CRect(0, 0, 50, 50)));
    TextDropTarget dropTarget;
    ASSERT_TRUE(dropTarget.Register(&target));
    EXPECT_TRUE(backend.Peer(target).AcceptsDrops());
    EXPECT_FALSE(TextDropTarget().Register(&target)) << "one target per window";

    backend.ScriptDrag({{&target, {1, 1}, 0, DragStep::Action::Move},
                        {&target, {2, 1}, MK_CONTROL, DragStep::Action::Move},
                        {&target, {3, 1}, MK_CONTROL, DragStep::Action::Drop}});
    COleDataSource data;
    data.CacheText("dragged");
    EXPECT_EQ(data.DoDragDrop(&source, DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_COPY);
    EXPECT_EQ(dropTarget.events, (std::vector<std::string>{"enter 1", "scroll", "over 2", "scroll", "over 3", "drop dragged copy"}));

    // A source that allows copying only never moves; a cancelled drag has no effect.
    dropTarget.events.clear();
    backend.ScriptDrag({{&target, {1, 1}, 0, DragStep::Action::Drop}});
    EXPECT_EQ(data.DoDragDrop(&source, DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_EQ(dropTarget.events, (std::vector<std::string>{"enter 1", "leave"}));
    backend.ScriptDrag({{&target, {1, 1}, 0, DragStep::Action::Cancel}});
    EXPECT_EQ(data.DoDragDrop(&source, DROPEFFECT_MOVE), DROPEFFECT_NONE);

    dropTarget.Revoke();
    EXPECT_FALSE(backend.Peer(target).AcceptsDrops());
    EXPECT_EQ(COleDropTarget::ForWindow(&target), nullptr);
}

}  // namespace
