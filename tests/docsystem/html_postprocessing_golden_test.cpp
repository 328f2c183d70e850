// Whole pages as the converter writes them, post-processed with the template's rules, compared
// byte for byte with the expected pages in golden/. Set QUILLWRIGHT_GOLDEN_OUTPUT to a directory
// to get the pages this build produces there (to review a deliberate change).

#include "docsystem/html_postprocessing.h"
#include "docsystem_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using ::testing::ElementsAre;

const std::string goldenDirectory = std::string(QUILLWRIGHT_SOURCE_DIR) + "/tests/docsystem/golden/";

class HtmlPostProcessingGoldenTest : public ::testing::Test {
protected:
    HtmlPostProcessingGoldenTest()
    {
        std::int32_t nextId = 1;
        rules.Load(std::string(QUILLWRIGHT_SOURCE_DIR) + "/template/postprocess.txt", nextId);
    }

    // Post-processes golden/NAME.input.html as the page NAME.html of the document "paper".
    void ExpectGolden(const std::string& name)
    {
        utils::TextBuffer page(goldenDirectory + name + ".input.html", utils::FileMode::Binary);
        ASSERT_TRUE(page.HasBytes()) << name;
        PostProcessHtmlText(page, "/home/user/paper/" + name + ".html", settings, rules, images, "paper");
        const std::string actual(page.Text());
        if (const char* output = std::getenv("QUILLWRIGHT_GOLDEN_OUTPUT"))
            utils::testing::WriteFile(std::string(output) + "/" + name + ".expected.html", actual);
        EXPECT_EQ(actual, utils::testing::ReadFile(goldenDirectory + name + ".expected.html"));
    }

    PostProcessTable rules;
    DocumentSettings settings;
    std::vector<std::string> images;
};

TEST_F(HtmlPostProcessingGoldenTest, IndexPageWithEverySetting)
{
    settings.styleSheet = "manual.css";
    settings.encoding = "windows-1250";
    settings.headCommands = {"<META NAME=\"generator\" CONTENT=\"Quillwright\">", "<LINK REL=\"icon\" HREF=\"q.png\">"};
    settings.footer = "<ADDRESS>Quillwright manual</ADDRESS>\r\n";
    ExpectGolden("index");
    EXPECT_THAT(images, ElementsAre("hint.png", "warning.gif"));
}

TEST_F(HtmlPostProcessingGoldenTest, ChapterPageWithoutSettings)
{
    ExpectGolden("node2");
    EXPECT_TRUE(images.empty());
}

}  // namespace
