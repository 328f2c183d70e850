#include "document_request.h"
#include "protocol_error.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

CommandScript Script(const std::string& service, const std::string& run)
{
    CommandScript script;
    script.service = service;
    script.uploads = {{"paper.tex", 10, TransferForm::Text}, {"fig.eps", 20, TransferForm::Text}};
    script.results = {{"*.log", TransferForm::Text}, {"paper/*.html", TransferForm::Text}};
    script.runLines = {run};
    return script;
}

std::string RefusalOf(const CommandScript& script)
{
    try {
        CheckDocumentRequest(script);
    } catch (const ProtocolError& refusal) {
        return refusal.what();
    }
    return "accepted";
}

TEST(DocumentRequest, ChoosesTheServiceAndMainFile)
{
    const DocumentRequest pdf = CheckDocumentRequest(Script("tex2pdf", "tex2pdf paper.tex"));
    EXPECT_EQ(pdf.service, DocumentService::Pdf);
    EXPECT_EQ(pdf.mainFile, "paper.tex");
    EXPECT_EQ(pdf.BaseName(), "paper");
    EXPECT_EQ(CheckDocumentRequest(Script("tex2ps", "tex2ps paper.tex")).service, DocumentService::PostScript);
    EXPECT_EQ(CheckDocumentRequest(Script("cstex2html", "cstex2html paper.tex ")).service, DocumentService::CzechHtml);
    const DocumentRequest html = CheckDocumentRequest(Script("tex2html", "tex2html paper.tex -split 3"));
    EXPECT_EQ(html.htmlOptions.arguments, (std::vector<std::string>{"-split", "3"}));
}

TEST(DocumentRequest, RefusesServicesItDoesNotOffer)
{
    EXPECT_EQ(RefusalOf(Script("pdflatex2ps", "pdflatex2ps paper.tex")),
              "service pdflatex2ps is not offered by this server; use tex2ps or tex2pdf");
    EXPECT_EQ(RefusalOf(Script("tex2rtf", "tex2rtf paper.tex")), "unknown service \"tex2rtf\"");
    EXPECT_EQ(RefusalOf(Script("maintenance", "cp a b")), "service maintenance is offered on the maintenance port only");
    EXPECT_EQ(RefusalOf(Script("", "tex2ps paper.tex")), "no \"service\" line");
}

TEST(DocumentRequest, RefusesRunLinesThatDoNotFit)
{
    EXPECT_EQ(RefusalOf(Script("tex2ps", "tex2pdf paper.tex")), "\"run\" names a service other than \"tex2ps\"");
    EXPECT_EQ(RefusalOf(Script("tex2ps", "tex2ps other.tex")), "main file \"other.tex\" is not among the uploaded files");
    EXPECT_EQ(RefusalOf(Script("tex2ps", "tex2ps paper.tex -split 0")), "service tex2ps takes no options");
    EXPECT_NE(RefusalOf(Script("tex2ps", "tex2ps fig.eps")), "accepted");
    EXPECT_NE(RefusalOf(Script("tex2ps", "tex2ps %pipe%x.tex")), "accepted");
    CommandScript twoRuns = Script("tex2ps", "tex2ps paper.tex");
    twoRuns.runLines.push_back("tex2ps paper.tex");
    EXPECT_EQ(RefusalOf(twoRuns), "expected one \"run\" line, got 2");
}

TEST(DocumentRequest, RefusesResultRequestsOutsideTheJob)
{
    for (const std::string pattern : {"../*.log", "/etc/passwd", "a/b/*.html", "paper\\x", "paper/../../x"}) {
        CommandScript script = Script("tex2ps", "tex2ps paper.tex");
        script.results.push_back({pattern, TransferForm::Binary});
        EXPECT_NE(RefusalOf(script), "accepted") << pattern;
    }
}

}  // namespace
}  // namespace torvel
