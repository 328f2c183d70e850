#include "utils/message_format.h"
#include "utils/string_table.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace utils {
namespace {

TEST(MessageFormat, FillsPlaceholdersInOrder)
{
    const std::string text = MessageFormat(LoadResourceString(61216)) % "pdf" % std::string("/usr/bin/okular");
    EXPECT_EQ(text, "Default application for extension 'pdf' was found:\n/usr/bin/okular");
}

TEST(MessageFormat, ResourceTemplateWithResourceArgument)
{
    const std::string text = MessageFormat(LoadResourceString(20000)) % LoadResourceString(10054);
    EXPECT_EQ(text, "Failed to send data: Connection reset by peer");
}

TEST(MessageFormat, SurplusArgumentsAreIgnored)
{
    EXPECT_EQ(std::string(MessageFormat("no placeholder") % "x"), "no placeholder");
    EXPECT_EQ(std::string(MessageFormat("one {} only") % "first" % "second"), "one first only");
    EXPECT_EQ(std::string(MessageFormat("") % "x"), "");
}

TEST(MessageFormat, PlaceholderInAnArgumentIsFilledFirst)
{
    const std::string text = MessageFormat("a {} b {}") % "x{}y" % "z";
    EXPECT_EQ(text, "a xzy b {}");
}

TEST(MessageFormat, BracesThatAreNotAPlaceholderStay)
{
    EXPECT_EQ(std::string(MessageFormat("{ } {x} {{}}") % "A"), "{ } {x} {A}");
    EXPECT_EQ(std::string(MessageFormat("{}") % nullptr), "");
    EXPECT_EQ(MessageFormat("left {} right").Text(), "left {} right");
}

TEST(StringTable, DocumentationTexts)
{
    EXPECT_EQ(LoadResourceString(5), "Documentation system error:\n{}");
    EXPECT_EQ(LoadResourceString(10), "Finished");
    EXPECT_EQ(LoadResourceString(133),
              "Invalid response from the server.\nPerhaps you are connecting to wrong server or service.");
    EXPECT_EQ(LoadResourceString(20005), "Failed to connect to remote host: {}");
    EXPECT_EQ(LoadResourceString(57345), "Ready");
    EXPECT_EQ(LoadResourceString(128), "Quillwright\n\nQuillw\n\n\nQuillwright.Document\nQuillw Document");
}

TEST(StringTable, UndoDescriptionsAreNotInActionOrder)
{
    EXPECT_EQ(LoadResourceString(8619), "Unknown");
    EXPECT_EQ(LoadResourceString(8621), "Delete Selection");
    EXPECT_EQ(LoadResourceString(8623), "Delete");
    EXPECT_EQ(LoadResourceString(8624), "Typing");
    EXPECT_EQ(LoadResourceString(8627), "Drag And Drop");
    EXPECT_EQ(LoadResourceString(8629), "Auto Indent");
    EXPECT_EQ(LoadResourceString(8615), "&Undo %s\tCtrl+Z");
    EXPECT_EQ(LoadResourceString(8606), "Cannot find string\"%s\"");
}

TEST(StringTable, PaneWidthPrototypes)
{
    EXPECT_EQ(LoadResourceString(61221), std::string(54, ' '));
    EXPECT_EQ(LoadResourceString(37903), std::string(12, '='));
}

TEST(StringTable, SocketErrorTexts)
{
    EXPECT_EQ(LoadResourceString(10061), "Connection refused");
    EXPECT_EQ(LoadResourceString(10047), LoadResourceString(10067));
    EXPECT_EQ(LoadResourceString(10101), "Graceful shutdown in progress");
}

TEST(StringTable, MissingIdsAreEmptyAndErrnoSurvivesLookups)
{
    errno = ECONNREFUSED;
    EXPECT_EQ(LoadResourceString(10059), "");
    EXPECT_EQ(LoadResourceString(0), "");
    EXPECT_EQ(LoadResourceString(4000000000u), "");
    EXPECT_EQ(LoadResourceString(3), "Running LaTeX...");
    EXPECT_EQ(errno, ECONNREFUSED);
}

}  // namespace
}  // namespace utils
