#include "command_script.h"
#include "protocol_error.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

ScriptLimits SmallLimits()
{
    ScriptLimits limits;
    limits.maximumFiles = 3;
    limits.maximumUploadBytes = 1000;
    return limits;
}

CommandScript Parse(const std::vector<std::string>& lines)
{
    CommandScript script;
    for (const auto& line : lines)
        AddScriptLine(script, line, SmallLimits());
    return script;
}

TEST(CommandScript, ReadsTheLinesOfADocumentationClient)
{
    const CommandScript script = Parse({"documentation client", "service tex2html", "put chap1.tex:120:dos",
                                        "put fig.png:300:", "mget *.log:dos", "run tex2html paper.tex -split 0 ",
                                        "get paper.ps:dos"});
    EXPECT_EQ(script.service, "tex2html");
    ASSERT_EQ(script.uploads.size(), 2u);
    EXPECT_EQ(script.uploads[0].name, "chap1.tex");
    EXPECT_EQ(script.uploads[0].size, 120u);
    EXPECT_EQ(script.uploads[0].form, TransferForm::Text);
    EXPECT_EQ(script.uploads[1].form, TransferForm::Binary);
    EXPECT_EQ(script.UploadBytes(), 420u);
    ASSERT_EQ(script.results.size(), 2u);
    EXPECT_EQ(script.results[0].pattern, "*.log");
    EXPECT_EQ(script.results[1].pattern, "paper.ps");
    ASSERT_EQ(script.runLines.size(), 1u);
    EXPECT_EQ(script.runLines[0], "tex2html paper.tex -split 0");
}

TEST(CommandScript, TakesTheSizeAndFormFromTheLastTwoColons)
{
    const CommandScript script = Parse({"put a:b.tex:7:dos"});
    EXPECT_EQ(script.uploads[0].name, "a:b.tex");
    EXPECT_EQ(script.uploads[0].size, 7u);
}

TEST(CommandScript, RefusesMalformedLines)
{
    for (const std::string line : {"put paper.tex", "put paper.tex:12", "put paper.tex:x1:dos", "put paper.tex:-1:dos",
                                   "put paper.tex:12:mac", "get paper.ps", "delete paper.tex", "service a",
                                   "put a.tex:99999999999999999999999:"}) {
        CommandScript script;
        script.service = "tex2ps";
        EXPECT_THROW(AddScriptLine(script, line, SmallLimits()), ProtocolError) << line;
    }
}

TEST(CommandScript, EnforcesTheFileAndByteLimits)
{
    EXPECT_THROW(Parse({"put a:1:", "put b:1:", "put c:1:", "put d:1:"}), ProtocolError);
    EXPECT_THROW(Parse({"put a:600:", "put b:401:"}), ProtocolError);
    EXPECT_THROW(Parse({"put a:1001:"}), ProtocolError);
    EXPECT_NO_THROW(Parse({"put a:600:", "put b:400:"}));
}

}  // namespace
}  // namespace torvel
