#include "platform/ini_profile_file.h"
#include "utils/test_scratch_directory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

using platform::IniProfileFile;

TEST(IniProfileFileTest, ReadsGroupsKeysAndQuotedValues)
{
    const utils::testing::ScratchDirectory directory;
    utils::testing::WriteFile(directory / "settings.conf",
                              "; comment\n"
                              "[settings]\r\n"
                              "address = texhost:3000\r\n"
                              "cmdline=\"-split 0 -link \\\"x\\\"\"\n"
                              "orphan line\n"
                              "[QuillEdit/Find]\n"
                              "MatchCase=1\n"
                              "Broken=12x\n"
                              "[settings]\n"
                              "psviewer=gv\n");
    IniProfileFile file(directory / "settings.conf");
    file.Load();
    EXPECT_EQ(file.GetString("settings", "address", ""), "texhost:3000");
    EXPECT_EQ(file.GetString("settings", "cmdline", ""), "-split 0 -link \"x\"");
    EXPECT_EQ(file.GetString("settings", "psviewer", ""), "gv");
    EXPECT_EQ(file.GetString("settings", "htmlviewer", "none"), "none");
    EXPECT_EQ(file.GetInteger("QuillEdit/Find", "MatchCase", 0), 1);
    EXPECT_EQ(file.GetInteger("QuillEdit/Find", "Broken", 7), 7);
    EXPECT_FALSE(file.FindString("QuillEdit/Replace", "MatchCase"));
}

TEST(IniProfileFileTest, SavedValuesReadBackUnchanged)
{
    const utils::testing::ScratchDirectory directory;
    const std::string path = directory / "new/TVL/Quillwright.conf";
    const std::vector<std::string> values = {"plain", "", " padded ", "semi;colon", "a,b", "quote\"d", "back\\slash",
                                             "two\nlines\r\n", "#hash"};
    {
        IniProfileFile file(path);
        for (std::size_t index = 0; index < values.size(); ++index)
            file.SetString("settings", "value" + std::to_string(index), values[index]);
        file.SetInteger("Recent File List", "Count", -4);
        file.Save();
    }
    IniProfileFile reread(path);
    reread.Load();
    for (std::size_t index = 0; index < values.size(); ++index)
        EXPECT_EQ(reread.GetString("settings", "value" + std::to_string(index), "missing"), values[index]) << index;
    EXPECT_EQ(reread.GetInteger("Recent File List", "Count", 0), -4);
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

TEST(IniProfileFileTest, ChangingOneValueKeepsTheOthersInPlace)
{
    const utils::testing::ScratchDirectory directory;
    utils::testing::WriteFile(directory / "a.conf", "[settings]\naddress=a:1\ncmdline=x\n");
    IniProfileFile file(directory / "a.conf");
    file.Load();
    file.SetString("settings", "address", "b:2");
    file.Save();
    EXPECT_EQ(utils::testing::ReadFile(directory / "a.conf"), "[settings]\naddress=b:2\ncmdline=x\n\n");
}

TEST(IniProfileFileTest, MissingFileIsEmptyAndUnreadableFileIsAnError)
{
    const utils::testing::ScratchDirectory directory;
    IniProfileFile missing(directory / "none.conf");
    missing.Load();
    EXPECT_FALSE(missing.FindString("settings", "address"));

    std::filesystem::create_directory(directory / "dir.conf");
    IniProfileFile unreadable(directory / "dir.conf");
    EXPECT_THROW(unreadable.Load(), std::runtime_error);

    IniProfileFile unwritable("/proc/quillwright-test/settings.conf");
    unwritable.SetString("settings", "address", "x");
    EXPECT_THROW(unwritable.Save(), std::runtime_error);
}

TEST(IniProfileFileTest, DefaultPathFollowsTheConfigurationHome)
{
    const char* previousConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = previousConfig != nullptr ? previousConfig : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(IniProfileFile::DefaultPath(), "/cfg/TVL/Quillwright.conf");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(IniProfileFile::DefaultPath(), std::filesystem::path(std::getenv("HOME")) / ".config/TVL/Quillwright.conf");
    if (previousConfig != nullptr)
        setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
}
