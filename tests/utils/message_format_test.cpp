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

// Only texts that no behaviour test elsewhere shows: the others are checked where they appear.
TEST(StringTable, TextsNotShownByOtherTests)
{
    const std::pair<unsigned int, std::string> texts[] = {
        {128, "Quillwright\n\nQuillw\n\n\nQuillwright.Document\nQuillw Document"},
        {61221, std::string(54, ' ')},
        {37903, std::string(12, '=')},
        {10101, "Graceful shutdown in progress"},
    };
    for (const auto& [id, text] : texts)
        EXPECT_EQ(LoadResourceString(id), text) << id;
    EXPECT_EQ(LoadResourceString(10047), LoadResourceString(10067));
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
