#include "command_script.h"
#include "document_request.h"
#include "protocol_error.h"
#include "text_upload.h"
#include "upload_name.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

TEST(UploadName, AcceptsFlatNames)
{
    for (const std::string name : {"paper.tex", "fig.eps", "html.sty", "Chapter-1.tex", ".bib"})
        EXPECT_EQ(CheckUploadName(name), "") << name;
}

TEST(UploadName, RefusesPathsAndNamesToolsWouldMisread)
{
    const std::string withNul("a\0b.tex", 7);
    for (const std::string& name : {std::string("sub/paper.tex"), std::string("/etc/passwd"), std::string("..\\x.tex"),
                                    std::string(".."), std::string("a..b"), withNul, std::string("-shell.tex"),
                                    std::string(".latex2html-init"), std::string(".latexmkrc"),
                                    std::string("latexmkrc"), std::string(""), std::string(300, 'a'),
                                    std::string("line\rbreak")})
        EXPECT_NE(CheckUploadName(name), "") << name;
}

TEST(UploadName, ExplainsTheRefusal)
{
    EXPECT_EQ(CheckUploadName("../x.tex"), "file name \"../x.tex\" contains a directory separator");
    EXPECT_EQ(CheckUploadName(".latex2html-init"), "file name \".latex2html-init\" is not accepted");
    EXPECT_EQ(CheckUploadName("latexmkrc"), "file name \"latexmkrc\" is not accepted");
}

TEST(UploadChecks, RefuseAFileAnnouncedTwice)
{
    CommandScript script;
    script.uploads = {{"a.tex", 1, TransferForm::Text}, {"a.tex", 2, TransferForm::Text}};
    EXPECT_THROW(CheckUploads(script), ProtocolError);
}

TEST(TextUpload, TurnsCarriageReturnLineFeedIntoLineFeed)
{
    TextUploadConverter converter;
    EXPECT_EQ(converter.Convert("a\r\nb\r\n"), "a\nb\n");
    EXPECT_EQ(converter.Finish(), "");
}

TEST(TextUpload, KeepsLoneCarriageReturnsAndPairsSplitBetweenPieces)
{
    TextUploadConverter converter;
    std::string result = converter.Convert("x\ry\r");
    result += converter.Convert("\nz\r");
    result += converter.Convert("q\r");
    result += converter.Finish();
    EXPECT_EQ(result, "x\ry\nz\rq\r");
}

}  // namespace
}  // namespace torvel
